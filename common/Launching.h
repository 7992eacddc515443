#pragma once
// Starting sibling programs.

#include <windows.h>

namespace qv {

// Starts a command line with the caller's own startup information on the
// given desktop (none: the caller's). Returns the process id, or 0 after
// logging and showing the system's error.
DWORD RunProgram(HWND foreground, const char* program, const char* arguments, const char* directory,
                 const char* desktopName, DWORD extraFlags);

}  // namespace qv
