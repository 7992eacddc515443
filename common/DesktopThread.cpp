#include "DesktopThread.h"

#include <set>
#include <system_error>
#include <thread>

#include "Handle.h"

namespace qv {

bool RunOnDesktop(const char* desktopName, const std::function<void()>& fn, ACCESS_MASK access) {
    // The handle must outlive the worker: a desktop cannot be closed while a
    // thread is attached to it.
    UniqueDesktop desktop(OpenDesktopA(desktopName, 0, FALSE, access));
    if (!desktop) return false;
    bool attached = false, left = false;
    DWORD attachError = 0;
    try {
        std::thread worker([&] {
            HDESK own = GetThreadDesktop(GetCurrentThreadId());
            attached = SetThreadDesktop(desktop.Get()) != FALSE;
            if (!attached) {
                attachError = GetLastError();
                return;
            }
            fn();
            // Wine closes the handle a thread is set on when the thread ends
            // (Windows leaves it to its owner), and the next desktop that any
            // thread of the process opens may get the same value: closing it
            // after the worker would close that one. Back on its own desktop,
            // the worker ends without touching the handle.
            left = SetThreadDesktop(own) != FALSE;
        });
        worker.join();
    } catch (const std::system_error&) {
        return false;
    }
    // A worker that made a window or a hook there cannot leave: its handle
    // is Wine's to close (on Windows it stays open, which only tests do).
    if (attached && !left) desktop.Release();
    // The caller may say why: the worker's error is the worker's own.
    if (!attached) SetLastError(attachError);
    return attached;
}

namespace {

BOOL CALLBACK CollectDesktop(LPSTR desktopName, LPARAM param) {
    reinterpret_cast<std::vector<std::string>*>(param)->emplace_back(desktopName);
    return TRUE;
}

}  // namespace

std::vector<std::string> WindowStationDesktops() {
    constexpr int kListings = 4;
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (int listing = 0; listing < kListings; ++listing) {
        std::vector<std::string> listed;
        EnumDesktopsA(GetProcessWindowStation(), CollectDesktop, reinterpret_cast<LPARAM>(&listed));
        bool newName = false;
        for (std::string& name : listed) {
            if (!seen.insert(name).second) continue;
            newName = true;
            names.push_back(std::move(name));
        }
        if (listing > 0 && !newName) break;
    }
    return names;
}

}  // namespace qv
