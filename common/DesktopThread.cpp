#include "DesktopThread.h"

#include <system_error>
#include <thread>

#include "Handle.h"

namespace qv {

bool RunOnDesktop(const char* desktopName, const std::function<void()>& fn, ACCESS_MASK access) {
    // The handle must outlive the worker: a desktop cannot be closed while a
    // thread is attached to it.
    UniqueDesktop desktop(OpenDesktopA(desktopName, 0, FALSE, access));
    if (!desktop) return false;
    bool attached = false;
    try {
        std::thread worker([&] {
            attached = SetThreadDesktop(desktop.Get()) != FALSE;
            if (attached) fn();
        });
        worker.join();
    } catch (const std::system_error&) {
        return false;
    }
    return attached;
}

}  // namespace qv
