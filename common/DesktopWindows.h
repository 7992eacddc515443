#pragma once
// The daemon's desktops as the viewer and the task switch tool hold them, the
// windows found on each, and what those programs do with a window: switch to
// its desktop and bring it forward, or hang it on the control bar.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "WindowListRules.h"

namespace qv {

struct DesktopEntry;

struct WindowEntry {
    HWND window = nullptr;
    std::string module;      // file name and extension of the process's first module
    std::string modulePath;  // its full path, for the icon
    std::string className;
    std::string caption;
    RECT normal{};
    UINT showCommand = 0;
    DWORD threadId = 0;
    DWORD processId = 0;
    const DesktopEntry* desktop = nullptr;
};

struct DesktopEntry {
    int index = 0;   // place in the daemon's reply
    std::string id;  // the desktop object's system name
    std::string title;
    int32_t width = 0;
    int32_t height = 0;
    HWND daemonWindow = nullptr;  // found on first use
    std::vector<WindowEntry> windows;
};

// The windows of a desktop that the option word takes in, in the system's
// order (topmost first), found from a thread attached to that desktop: only
// there does the system list them and tell whether one is visible. A desktop
// that cannot be entered has none.
std::vector<WindowEntry> DesktopWindows(const char* desktopId, uint32_t options);

class DesktopList {
public:
    // The caption of the messages this list shows.
    explicit DesktopList(const char* caption) : m_caption(caption) {}

    // Asks the daemon for its desktops. False after showing why (or silently
    // when the pipe failed).
    bool Load();

    // Finds the windows of the entry's desktop anew.
    void Enumerate(DesktopEntry& desktop);

    std::vector<std::unique_ptr<DesktopEntry>>& Desktops() { return m_desktops; }
    DesktopEntry* OwnDesktop() const { return m_own; }
    uint32_t Version() const { return m_version; }
    uint32_t Options() const { return m_options; }
    void SetOptions(uint32_t options) { m_options = options; }
    // Whether the bar answered the lookup by class and title at start.
    bool BarFoundAtStart() const { return m_barFoundAtStart; }
    void LookUpBar();

    // Asks the daemon to switch to the desktop; false when its window on that
    // desktop could not be found.
    bool SwitchTo(DesktopEntry& desktop);
    // Switches to the window's desktop, then shows the window.
    void Activate(const WindowEntry& window, bool maximize);

    // Shows a message box with this list's caption.
    void Tell(HWND owner, const char* text) const;

private:
    const char* m_caption;
    std::vector<std::unique_ptr<DesktopEntry>> m_desktops;
    DesktopEntry* m_own = nullptr;
    uint32_t m_options = kApplicationWindows;
    bool m_barFoundAtStart = false;
    uint32_t m_version = 0;
};

// Shows another program's window (maximized, or restored) and brings it to
// the foreground, without waiting for that program.
void BringForward(HWND window, bool maximize);

// Hands the window to the control bar of the calling thread's desktop; false
// after showing why not, in a box with this caption.
bool HangOnBar(HWND owner, HWND window, const char* caption);

}  // namespace qv
