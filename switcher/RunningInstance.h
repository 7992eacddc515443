#pragma once
// The one-copy rule of the daemon: is this program already running anywhere
// in the window station?

#include <windows.h>

namespace qv {

// 1 when a process other than the caller, started from a program file of the
// same name (file name and extension, letter case aside), owns a top-level
// window on any desktop of the caller's window station; else 0. Needs the
// process functions bound (BindProcessApi).
int FindRunningInstance(const char* ownModulePath);
// The same search leaving out the given process instead of the caller's.
int FindRunningInstance(const char* ownModulePath, DWORD skippedProcessId);

}  // namespace qv
