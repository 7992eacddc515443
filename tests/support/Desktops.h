#pragma once
// Desktops for tests: made for one test and closed after it, and worker
// threads attached to them (a window can be found by class or title only
// from a thread on its own desktop).

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace qvtest {

// A desktop that lasts, name and all, as long as the object. Wine takes a
// desktop's name away about a second after the last thread that made a
// window there left it (only its helper left), open handles or not: a test
// that paused longer between two uses, as any may on a loaded machine,
// could not open it again by name. A thread parked on it keeps it.
class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    const std::string& Name() const { return m_name; }
    HDESK Handle() const { return m_desktop; }

private:
    std::string m_name;
    HDESK m_desktop = nullptr;
    HANDLE m_leave = nullptr;
    std::thread m_parked;
};

// qv::RunOnDesktop with every right: tests also make windows, hooks and
// input on the desktops they enter.
bool RunOnDesktop(const std::string& desktopName, const std::function<void()>& fn);

// Polls FindWindow(className, title) on the named desktop until a window
// appears or the time is up.
HWND FindWindowOn(const std::string& desktopName, const char* className, const char* title, DWORD timeoutMs);
// A dialog (class "#32770") with this caption once it is shown: a dialog
// exists before its WM_INITDIALOG has set its controls, and shows after.
HWND FindShownDialog(const std::string& desktopName, const char* caption, DWORD timeoutMs);
// Whether a window is shown, asked on its own desktop (elsewhere the answer
// is always no).
bool ShownOn(const std::string& desktopName, HWND window);

// The desktops of the window station whose names start with prefix, each
// followed by a blank; empty when there are none.
std::string DesktopsNamed(const std::string& prefix);

// A window's text (up to 2 KB), read from the window's desktop or any other.
std::string WindowText(HWND window);

// Name of the calling thread's desktop.
std::string CurrentDesktopName();

}  // namespace qvtest
