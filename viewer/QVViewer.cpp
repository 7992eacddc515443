// QVViewer: every desktop of the running daemon at a glance, each in a window
// of its own, from which a click switches to the desktop or to one of its
// windows.

#include <windows.h>

#include "Viewer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qv::viewer::RunViewer(instance); }
