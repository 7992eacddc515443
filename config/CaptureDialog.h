#pragma once
// The capture of running windows as program entries: the options dialog,
// and the entries made from windows.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CaptureRules.h"
#include "Executant.h"
#include "WindowBase.h"

namespace qv::config {

// Told when a capture of every window took none.
inline constexpr char kNoneCaptured[] = "一つのｳｨﾝﾄﾞｳも検索できませんでした.";

class CaptureDialog : public Dialog {
public:
    enum Choice { kAll = 1, kMouse = 2 };
    // For module names alone the size and priority boxes have no meaning
    // and are not shown.
    explicit CaptureDialog(uint32_t options, bool namesOnly = false) : m_options(options), m_namesOnly(namesOnly) {}
    uint32_t Options() const { return m_options; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Show();
    void Read();

    uint32_t m_options;
    bool m_namesOnly;
};

// A window picked with the mouse: the dialog takes the mouse, and its next
// button press, or the loss of the mouse, ends the pick.
class WindowPicker {
public:
    enum class Result { kNotPicking, kCancelled, kPicked, kFailed };
    void Start(HWND dialog);
    // A mouse message of the dialog. kPicked gives the top of the picked
    // window's parents; kFailed the message for the user.
    Result OnMessage(UINT message, HWND* picked, std::string* failure);

private:
    bool m_picking = false;
};

// The entry for a window, or null with the reason in refusal (empty when
// the window was refused silently).
std::unique_ptr<Executant> EntryFromWindow(HWND window, uint32_t options, std::string* refusal);

// Every top-level window of the calling thread's desktop that the options
// take, as entries.
std::vector<std::unique_ptr<Executant>> CaptureAll(uint32_t options);

}  // namespace qv::config
