#pragma once
// The test programs' shared record of process starts and ends: one line for
// every test program as its main starts, and one for every process the test
// support ends, with who ended it and why. Both Wine sessions append to the
// one file that QV_PROCESS_LOG names (wine-session.sh sets it), each line with
// one write, so that after a failed run the file tells whether a program that
// died reached main at all and who, if anyone of ours, ended it.

#include <windows.h>

#include <cstdint>
#include <string>

namespace qvtest {

// What a process handle says of its process. Every field is read from the
// handle itself, never looked up by id: the id may name another process by now.
struct ProcessFacts {
    DWORD pid = 0;
    DWORD parent = 0;      // the id its creator had, which may have been reused since
    uint64_t created = 0;  // FILETIME as a number, 100 ns units
    uint64_t exited = 0;   // 0 while it runs
    std::string image;     // full path, empty when unreadable
};
ProcessFacts FactsOf(HANDLE process);

// The creation time of the calling process, as FactsOf gives it.
uint64_t OwnCreationTime();

// The time the current test (or, outside a test, the program) began, as a
// FILETIME number: no process created before it can be one the test started.
uint64_t TestStartTime();

// Appends one whole line (a newline is added) to the shared file; nothing
// when QV_PROCESS_LOG is not set.
void WriteProcessLine(const std::string& text);

// "main" line of this test program: pid, parent, creation time, image and
// command line.
void LogProgramStart();

// Logs the process with the reason, then terminates it with exitCode. The
// handle must have PROCESS_TERMINATE and PROCESS_QUERY_LIMITED_INFORMATION.
bool EndProcess(HANDLE process, UINT exitCode, const std::string& why);

}  // namespace qvtest
