#pragma once
// The daemon's ring walked as a switcher walks it: "+1" sent to the thread
// window of the current desktop, since a relative switch counts from the
// desktop of the window it is sent to, not from the daemon's current one.

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

class DaemonRing {
public:
    // Finds the daemon's thread window on each desktop (ids in ring order,
    // home first) and starts the walk where the daemon is; false when a
    // window is missing or the daemon is on none of these desktops.
    bool Open(const std::vector<std::string>& ids);

    // One "+1"; the ring moves on only when the daemon answered that it
    // switched.
    bool Next(DWORD timeoutMs = 10000);

    HWND Home() const { return m_windows.front(); }
    HWND Current() const { return m_windows[m_current]; }
    // Where the switches have taken the daemon: the index into Open's ids.
    size_t Position() const { return m_current; }

private:
    std::vector<HWND> m_windows;
    size_t m_current = 0;
};

}  // namespace qvtest
