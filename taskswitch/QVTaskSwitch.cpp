// QVTaskSwitch: the windows of every desktop of the running daemon, to bring
// one forward or hang some on the control bar.

#include <windows.h>

#include "TaskSwitch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return qv::taskswitch::RunTaskSwitch(instance, commandLine);
}
