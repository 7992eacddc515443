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

class CaptureDialog : public Dialog {
public:
    enum Choice { kAll = 1, kMouse = 2 };
    explicit CaptureDialog(uint32_t options) : m_options(options) {}
    uint32_t Options() const { return m_options; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Show();
    void Read();

    uint32_t m_options;
};

// The entry for a window, or null with the reason in refusal (empty when
// the window was refused silently).
std::unique_ptr<Executant> EntryFromWindow(HWND window, uint32_t options, std::string* refusal);

// Every top-level window of the calling thread's desktop that the options
// take, as entries.
std::vector<std::unique_ptr<Executant>> CaptureAll(uint32_t options);

}  // namespace qv::config
