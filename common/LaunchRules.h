#pragma once
// The numbers and texts of a program start, kept apart from the system calls
// so that they can be checked directly.

#include <windows.h>

#include <cstdint>
#include <string>

namespace qv {

// Creation flags of a direct start: suspended, so that the primary thread's
// priority and input method are set before it runs.
constexpr DWORD kLaunchFlags = CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_PROCESS_GROUP |
                               CREATE_NEW_CONSOLE | CREATE_SUSPENDED;  // 0x04000A14
constexpr DWORD kRunProgramFlags = kLaunchFlags & ~static_cast<DWORD>(CREATE_SUSPENDED);  // 0x04000A10
constexpr DWORD kShlExeFlags = CREATE_NEW_CONSOLE | CREATE_SEPARATE_WOW_VDM | CREATE_DEFAULT_ERROR_MODE |
                               0x10000000 | 0x20000000;  // 0x34000810

// Longest command line that CreateProcess takes, terminator excluded.
constexpr size_t kMaxCommandLine = 32767;

// 1 normal, 2 minimised, 3 maximised; anything else counts as normal.
int ShowCommandFromText(const char* text);
// Priority class from the high nibble of the priority byte (0 = leave it).
DWORD PriorityClassBits(uint32_t priority);
DWORD LaunchCreationFlags(bool prioritySet, uint32_t priority);
DWORD ShlExeCreationFlags(uint32_t priority);
// Thread priority from the low nibble; false when the thread is left as it is.
bool ThreadPriorityFor(uint32_t priority, int* threadPriority);
// The longest wait for a new program to become idle that the configurator
// offers. A stored value is kept as it is written, but a wait never goes
// beyond this, and a negative value (read back as a huge unsigned one) is no
// wait at all rather than an endless one.
constexpr DWORD kMaxInputTimeoutMs = 99999;
DWORD InputTimeoutInUse(uint32_t storedMs);
// The switch that tells QVShlExe whether to wait for and place the window;
// the time-out as InputTimeoutInUse makes it.
std::string ShlExeSwitch(bool placement, uint32_t inputTimeoutMs);
// Appends text to a command line unless that would make it longer than
// kMaxCommandLine; false (and the line unchanged) when it would.
bool AppendCommandText(std::string& line, const char* text);

}  // namespace qv
