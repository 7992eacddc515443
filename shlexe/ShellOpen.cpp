#include "ShellOpen.h"

#include <shellapi.h>

namespace qv {

DWORD OpenWithShell(const char* item, const char* directory, int showCommand) {
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof(sei);
    // NOASYNC: the caller ends right after, which would cut short a start
    // that the shell finishes on another thread (DDE and the like).
    sei.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    sei.lpFile = item;
    sei.lpDirectory = directory;
    sei.nShow = showCommand;
    if (ShellExecuteExA(&sei)) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_NO_ASSOCIATION;
}

}  // namespace qv
