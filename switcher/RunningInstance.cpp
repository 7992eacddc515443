#include "RunningInstance.h"

#include <set>
#include <string>
#include <vector>

#include "PathText.h"
#include "ProcessApi.h"
#include "TextString.h"

namespace qv {

namespace {

BOOL CALLBACK CollectDesktop(LPSTR desktopName, LPARAM param) {
    reinterpret_cast<std::vector<std::string>*>(param)->emplace_back(desktopName);
    return TRUE;
}

std::vector<std::string> DesktopNames() {
    std::vector<std::string> names;
    EnumDesktopsA(GetProcessWindowStation(), CollectDesktop, reinterpret_cast<LPARAM>(&names));
    return names;
}

}  // namespace

int FindRunningInstance(const char* ownModulePath) {
    return FindRunningInstance(ownModulePath, GetCurrentProcessId());
}

int FindRunningInstance(const char* ownModulePath, DWORD skippedProcessId) {
    const TextString ownName = ModuleNameOf(ownModulePath ? ownModulePath : "");
    // An enumeration of the desktops during which another desktop goes away
    // can miss one that stays (seen under Wine while tests came and went):
    // the desktops are listed again until a list brings none that was not
    // searched, a few times at most. A desktop that cannot be opened is not
    // ours to see; the others still count.
    constexpr int kListings = 4;
    std::set<std::string> searched;
    for (int listing = 0; listing < kListings; ++listing) {
        bool newDesktop = false;
        for (const std::string& name : DesktopNames()) {
            if (!searched.insert(name).second) continue;
            newDesktop = true;
            if (ModuleHasWindowOn(name.c_str(), ownName, skippedProcessId)) return 1;
        }
        if (listing > 0 && !newDesktop) break;
    }
    return 0;
}

}  // namespace qv
