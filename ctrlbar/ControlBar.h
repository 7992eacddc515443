#pragma once
// The control bar process: its start-up checks, the desktops it learns from
// the daemon, one thread per desktop with that desktop's bar, and the main
// window that takes the hot key and speaks for all bars.

#include <windows.h>

namespace qv {

// The whole run of QVCtrlBar; its exit code. commandLine is the text after
// the program's name.
int RunControlBar(HINSTANCE instance, const char* commandLine);

}  // namespace qv
