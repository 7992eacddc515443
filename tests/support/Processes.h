#pragma once
// Programs started by tests: where they are, what they reported, and making
// sure none is left behind.

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Handle.h"
#include "ProcessLog.h"

namespace qvtest {

// Folder of the running test program, with its trailing backslash; every
// program of the build lies there.
std::string ProgramFolder();
std::string FixturePath();

// Polls pred every 20 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs);

// The lines of a fixture's report file (empty when it has none yet).
std::vector<std::string> ReportLines(const std::string& path);
bool ReportHas(const std::string& path, const std::string& line);
// The process id a fixture reported at its start, or 0.
DWORD ReportedPid(const std::string& path);

// The id of the process that started the one held, as the held process's own
// record keeps it (that id may name another process by now), or 0.
DWORD ParentOf(HANDLE process);

// Whether child was started by parent: its record names parent's id, and it
// was created while parent ran. Once parent has ended its id may be given to
// a new process, whose children name that id too but were all created after
// parent's end.
bool StartedBy(const ProcessFacts& child, const ProcessFacts& parent);
bool IsChildOf(HANDLE child, HANDLE parent);

// The running processes descended from roots (which may have ended), each
// held from the moment it was found and counted only when its own record
// makes it a child of a process already counted (StartedBy): a listed parent
// id alone may be a reused one. Wine's own helpers (a desktop's explorer.exe
// and the like) are followed but not returned.
std::vector<qv::UniqueHandle> RunningDescendants(const std::vector<HANDLE>& roots);
// Wine 8 ignores a priority class given to CreateProcess (SetPriorityClass
// works): a test checks a started program's class only where the system
// applies it, and the flags themselves as values.
bool SystemAppliesCreationPriorityClass();

// Ends the process at the end of the scope unless it ended already. A guard
// never takes a bare process id: Wine gives a freed id to a new process
// within seconds, so an id is only trusted together with a proof that it
// still names the process the test means. When the proof fails the guard
// holds nothing, says so on the shared process record, and ends nothing.
class ProcessGuard {
public:
    ProcessGuard() = default;
    ~ProcessGuard();
    ProcessGuard(const ProcessGuard&) = delete;
    ProcessGuard& operator=(const ProcessGuard&) = delete;
    // A copy of a handle the caller holds (CreateProcess's, a daemon's).
    bool Hold(HANDLE process);
    // The fixture that wrote this report's START line, if the process that
    // has the reported id now was created at the reported time.
    bool WatchReported(const std::string& report);
    // The owner of window, if the window is still its own once opened.
    bool WatchWindowOwner(HWND window);
    // The process with this id, if parent started it (IsChildOf).
    bool WatchChild(DWORD pid, HANDLE parent);
    bool Running() const;
    HANDLE Handle() const { return m_process; }
    DWORD Pid() const { return m_process ? GetProcessId(m_process) : 0; }
    // Waits for the end; true when it came in time.
    bool WaitForEnd(DWORD timeoutMs) const;
    // The exit code, or -1 when the process did not end in time.
    long WaitExit(DWORD timeoutMs) const;

private:
    // Takes an opened handle if accepted says so; otherwise logs why not.
    bool Take(HANDLE opened, bool accepted, const std::string& what);
    HANDLE m_process = nullptr;
};

// Processes a test started that may end before the processes they start
// (a daemon, QVShlExe): the end-of-program check follows their children
// too. A copy of the handle is kept, so that the check can tell their
// children from those of a later process given the same id.
void RememberStarted(HANDLE process, bool daemon = false);
std::vector<qv::UniqueHandle> StartedProcesses();  // copies of the handles
bool StartedDaemon();

// Starts a program of the build (ProgramFolder) with the arguments, on the
// desktop (empty: the caller's), watched by guard and remembered for the
// end-of-program check; false when it could not be started.
bool StartProgram(ProcessGuard& guard, const std::string& program, const std::string& arguments,
                  const std::string& desktop = "");

// A console program's run: its exit code (~0u when it did not end in time
// and was ended), and what it wrote to its standard output and error.
struct ConsoleRun {
    DWORD exitCode = ~0u;
    std::string out;
    std::string err;
};
// Runs a program of the build on the desktop (empty: the caller's) with no
// console window, its output caught in files of folder; waits up to
// timeoutMs for its end, then ends it.
ConsoleRun RunConsoleProgram(const std::string& program, const std::string& arguments, const std::string& desktop,
                             const std::string& folder, DWORD timeoutMs = 30000);

// Ends every process that owns a window of this class on the desktop.
void EndWindowOwners(const std::string& desktopName, const char* className);

}  // namespace qvtest
