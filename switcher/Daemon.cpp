#include "Daemon.h"

namespace qv {

DaemonState& Daemon() {
    static DaemonState state;
    return state;
}

void ShowStartupBox(const char* text) { MessageBoxA(nullptr, text, kDaemonWindowName, MB_OK | MB_TASKMODAL); }

}  // namespace qv
