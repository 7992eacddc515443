#pragma once
// The waiting window of a launcher menu's build: the folder being scanned,
// and a Cancel button that makes the menu show what was found so far. It
// runs on a thread of its own, so that it answers while the bar's thread
// scans, attached to the bar's desktop, and shows itself only when the build
// takes longer than a second.

#include <windows.h>

#include <memory>
#include <string>

#include "Handle.h"
#include "MenuScan.h"

namespace qv {

class MenuProgress : public ScanProgress {
public:
    static constexpr DWORD kShowAfterMs = 1000;
    static constexpr DWORD kStartWaitMs = 10000;
    static constexpr DWORD kEndWaitMs = 5000;

    // Starts the window for the bar, on the calling thread's desktop, with
    // its top-left corner at the bar's centre; waits at most kStartWaitMs
    // for it. Without a window nothing is shown and nothing is cancelled.
    MenuProgress(HINSTANCE instance, HWND bar);
    ~MenuProgress() override;
    MenuProgress(const MenuProgress&) = delete;
    MenuProgress& operator=(const MenuProgress&) = delete;

    void Entering(const std::string& folder) override;
    bool Cancelled() const override;
    // Closes the window and waits at most kEndWaitMs for its thread.
    void Close();

    struct State;

private:
    std::shared_ptr<State> m_state;
    UniqueHandle m_thread;
};

}  // namespace qv
