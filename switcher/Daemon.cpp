#include "Daemon.h"

namespace qv {

DaemonState& Daemon() {
    static DaemonState state;
    return state;
}

bool IsPlainFile(const char* path, DWORD excluded) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & excluded);
}

void ShowStartupBox(const char* text) { MessageBoxA(nullptr, text, kDaemonWindowName, MB_OK | MB_TASKMODAL); }

}  // namespace qv
