#include "RunningInstance.h"

#include "Handle.h"
#include "PathText.h"
#include "ProcessApi.h"
#include "TextString.h"

namespace qv {

namespace {

// Desktop rights to enumerate its windows: read objects, enumerate, switch.
constexpr ACCESS_MASK kDesktopQueryAccess = 0x141;

struct InstanceSearch {
    TextString ownName;
    DWORD skipped;
    bool found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<InstanceSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0 || pid == search->skipped) return TRUE;
    // Opened with the least access that reads module names (ProcessApi):
    // processes that refuse more would otherwise hide a running copy.
    TextString name;
    if (!ProcessModuleBaseName(pid, name)) return TRUE;
    if (name == search->ownName) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK SearchDesktop(LPSTR desktopName, LPARAM param) {
    auto* search = reinterpret_cast<InstanceSearch*>(param);
    UniqueDesktop desktop(OpenDesktopA(desktopName, 0, FALSE, kDesktopQueryAccess));
    if (!desktop) return TRUE;  // not ours to see: the other desktops still count
    EnumDesktopWindows(desktop.Get(), MatchWindow, param);
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
