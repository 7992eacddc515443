#pragma once
// Starting sibling programs.

#include <windows.h>

namespace qv {

// Starts a command line with the caller's own startup information on the
// given desktop (none: the caller's). Returns the process id, or 0 with the
// system's error as the last error; nothing is shown, for callers without a
// user in front of them.
DWORD StartProgram(const char* program, const char* arguments, const char* directory, const char* desktopName,
                   DWORD extraFlags);

// StartProgram, bringing the foreground window forward first. Returns the
// process id, or 0 after logging and showing the system's error.
DWORD RunProgram(HWND foreground, const char* program, const char* arguments, const char* directory,
                 const char* desktopName, DWORD extraFlags);

}  // namespace qv
