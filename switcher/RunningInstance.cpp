#include "RunningInstance.h"

#include "PathText.h"
#include "ProcessApi.h"
#include "TextString.h"

namespace qv {

namespace {

struct InstanceSearch {
    TextString ownName;
    DWORD skipped;
    bool found;
};

BOOL CALLBACK SearchDesktop(LPSTR desktopName, LPARAM param) {
    auto* search = reinterpret_cast<InstanceSearch*>(param);
    // A desktop that cannot be opened is not ours to see; the others still count.
    search->found = ModuleHasWindowOn(desktopName, search->ownName, search->skipped);
    return search->found ? FALSE : TRUE;
}

}  // namespace

int FindRunningInstance(const char* ownModulePath) {
    return FindRunningInstance(ownModulePath, GetCurrentProcessId());
}

int FindRunningInstance(const char* ownModulePath, DWORD skippedProcessId) {
    InstanceSearch search{ModuleNameOf(ownModulePath ? ownModulePath : ""), skippedProcessId, false};
    EnumDesktopsA(GetProcessWindowStation(), SearchDesktop, reinterpret_cast<LPARAM>(&search));
    return search.found ? 1 : 0;
}

}  // namespace qv
