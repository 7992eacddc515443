#pragma once
// What a running program holds, counted from outside, for the benchmark and
// the soak run. Wine answers GetGuiResources with 0 for every process and
// GetProcessHandleCount with 0 for another process, so handles are counted by
// duplicating each handle value, and USER and GDI objects cannot be counted:
// windows per desktop stand in for them. Wine leaves PrivateUsage 0 too and
// fills PagefileUsage with the private pages written so far (Windows: the
// commit charge), which is what growth shows in.

#include <windows.h>

#include <cstddef>
#include <string>

namespace qvtest {

// The handles the process holds (it must be opened with PROCESS_DUP_HANDLE),
// or -1 when it cannot be asked.
long CountHandles(HANDLE process);
// The process's private bytes (PROCESS_QUERY_INFORMATION | PROCESS_VM_READ),
// or 0 when it cannot be asked.
size_t PrivateBytes(HANDLE process);
// The top-level windows on the named desktop that belong to the process (all
// windows for pid 0), with all their child windows when children is true, or
// -1 when the desktop cannot be opened.
long CountWindowsOn(const std::string& desktopName, DWORD pid, bool children = false);

// All three for one process at one moment.
struct ProcessCounts {
    long handles = -1;
    size_t privateBytes = 0;
};
// Opens the process by id; handles -1 when it cannot be opened.
ProcessCounts CountProcess(DWORD pid);

}  // namespace qvtest
