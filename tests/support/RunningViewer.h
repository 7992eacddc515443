#pragma once
// A viewer started on a desktop, and its desktop windows, seen from outside.

#include <windows.h>

#include <string>
#include <vector>

#include "Processes.h"

namespace qvtest {

class RunningViewer {
public:
    // Starts QVViewer.exe on the desktop and waits for its frame and the
    // frame's MDI client.
    bool Start(const std::string& desktop);
    // Waits until exactly count desktop windows show their pictures, after
    // the viewer has made and placed them all.
    bool WaitDrawn(size_t count, DWORD timeoutMs = 60000) const;
    std::vector<HWND> Children() const;
    HWND Child(const std::string& title) const;
    void Command(WORD id) const;
    long WaitExit(DWORD timeoutMs = 20000) { return m_run.WaitExit(timeoutMs); }

    DWORD Pid() const { return m_run.Pid(); }
    HANDLE Process() const { return m_run.Handle(); }
    HWND Frame() const { return m_frame; }
    HWND Client() const { return m_client; }
    const std::string& Desktop() const { return m_desktop; }

private:
    ProcessGuard m_run;
    std::string m_desktop;
    HWND m_frame = nullptr;
    HWND m_client = nullptr;
};

}  // namespace qvtest
