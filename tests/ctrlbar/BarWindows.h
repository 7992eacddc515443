#pragma once
// The control bar's windows as a test reaches them: its bar on a desktop,
// the buttons on it, and its process.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qvtest {
class Daemon;
class ProcessGuard;
}

namespace bartest {

// Controller lines of a daemon that starts the bar and touches nothing else
// a test cannot see.
inline constexpr char kBarController[] =
    "ExistsOpen\t0\nQVControlBar\t1\nKeepBitmapSize\t0\nTitleDelay2\t0\nTitleDelay3\t0\n";

// A QVCtrlBar.ini with these controller lines ('\n' separated) and no
// desktop blocks.
std::string BarSettings(const std::string& controllerLines);

// The daemon's desktops in its order, asked as the bar asks; empty when the
// question failed.
std::vector<std::string> DesktopIds(const qvtest::Daemon& daemon);

// Writes the bar's settings beside the daemon's parameter file, starts the
// daemon with the bar (the shared daemon ends first) and waits for a bar on
// every desktop: the desktops' ids, or none when that failed.
std::vector<std::string> StartWithBar(qvtest::Daemon& daemon, const std::string& barSettings,
                                      const std::vector<std::string>& desktops);

// The shared daemon with the bar on three desktops (started by the first
// case that asks for it, kept for the next): its desktops' ids once every
// bar is up, none when that failed.
std::vector<std::string> SharedBarDesktops(qvtest::Daemon** daemon);

// Waits until the hanger of the bar on every desktop shows these captions.
bool EveryHangerShows(const std::vector<std::string>& ids, const std::vector<std::string>& captions,
                      DWORD timeoutMs = 10000);

// Starts a fixture application on the desktop, watched by a guard added to
// guards, and waits until its window titled title is shown; null when none was.
HWND StartFixtureWindow(std::vector<std::unique_ptr<qvtest::ProcessGuard>>& guards, const std::string& desktop,
                        const std::string& title, const std::string& extra = "");

// The bar window of the calling thread's desktop, as it is.
HWND BarHere();

// The bar window on the desktop once it is shown with all its buttons;
// null when none came in time.
HWND WaitForBar(const std::string& desktop, DWORD timeoutMs = 30000);

struct Button {
    HWND window = nullptr;
    std::string caption;
    bool checked = false;
    bool enabled = false;
};
// The desktop buttons of the bar on the desktop, in their order.
std::vector<Button> DesktopButtons(const std::string& desktop);
// The captions of the hanger buttons of the bar on the desktop, in order.
std::vector<std::string> HangerCaptions(const std::string& desktop);
HWND HangerButton(const std::string& desktop, size_t place);

// A button of the bar by its caption ("+1", "PIN", "QV" ...), or null.
HWND BarButton(const std::string& desktop, const char* caption);

// Clicks the button as the system does for a user (BM_CLICK), sent with a
// time-out from the button's desktop.
bool Click(const std::string& desktop, HWND button);

// The height of the bar window: 1 rolled up, more when shown.
int BarHeight(const std::string& desktop);

DWORD BarProcess(const std::string& desktop);

}  // namespace bartest
