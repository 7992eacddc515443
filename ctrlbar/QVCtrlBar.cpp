// QVCtrlBar: a bar across the top of every desktop of the running daemon.

#include <windows.h>

#include "ControlBar.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return qv::RunControlBar(instance, commandLine);
}
