#pragma once
// The daemon's desktops as the task switch tool holds them, the windows found
// on each, and what the tool does with a window: hang it on the control bar
// or switch to its desktop and bring it forward.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SwitchRules.h"

namespace qv::taskswitch {

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

// Messages go to the user as plain boxes owned by this window (may be null).
void ShowMessage(HWND owner, const char* text);

class DesktopList {
public:
    // False after showing why (or silently when the pipe failed).
    bool Load();

    // Finds the windows of the entry's desktop anew, from a thread attached
    // to it: a desktop that cannot be entered has none.
    void Enumerate(DesktopEntry& desktop);

    std::vector<std::unique_ptr<DesktopEntry>>& Desktops() { return m_desktops; }
    DesktopEntry* OwnDesktop() const { return m_own; }
    uint32_t Options() const { return m_options; }
    void SetOptions(uint32_t options) { m_options = options; }
    // Whether the bar answered the lookup by class and title at start.
    bool BarFoundAtStart() const { return m_barFoundAtStart; }
    void LookUpBar();

    // Switches the daemon to the window's desktop, then shows the window.
    void Activate(const WindowEntry& window, bool maximize);

private:
    std::vector<std::unique_ptr<DesktopEntry>> m_desktops;
    DesktopEntry* m_own = nullptr;
    uint32_t m_options = kInitialListOptions;
    bool m_barFoundAtStart = false;
    uint32_t m_version = 0;
};

// Hands the window to the control bar of the calling thread's desktop; false
// after showing why not.
bool HangOn(HWND owner, HWND window);

// -A and -D: every desktop's windows, or the own desktop's, hung on in order;
// a failure ends the work on that desktop.
void HangOnAll(DesktopList& list, bool ownDesktopOnly);

}  // namespace qv::taskswitch
