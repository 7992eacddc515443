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
