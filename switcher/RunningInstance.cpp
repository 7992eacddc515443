#include "RunningInstance.h"

#include <string>

#include "DesktopThread.h"
#include "PathText.h"
#include "ProcessApi.h"
#include "TextString.h"

namespace qv {

int FindRunningInstance(const char* ownModulePath) {
    return FindRunningInstance(ownModulePath, GetCurrentProcessId());
}

int FindRunningInstance(const char* ownModulePath, DWORD skippedProcessId) {
    const TextString ownName = ModuleNameOf(ownModulePath ? ownModulePath : "");
    // A desktop that cannot be opened is not ours to see; the others still count.
    for (const std::string& name : WindowStationDesktops())
        if (ModuleHasWindowOn(name.c_str(), ownName, skippedProcessId)) return 1;
    return 0;
}

}  // namespace qv
