#pragma once
// Programs started by tests: where they are, what they reported, and making
// sure none is left behind.

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

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

// The process that started pid (it may have ended since), or 0.
DWORD ParentOf(DWORD pid);
// Wine 8 ignores a priority class given to CreateProcess (SetPriorityClass
// works): a test checks a started program's class only where the system
// applies it, and the flags themselves as values.
bool SystemAppliesCreationPriorityClass();

// Ends the process at the end of the scope unless it ended already.
class ProcessGuard {
public:
    explicit ProcessGuard(DWORD pid = 0) { Watch(pid); }
    ~ProcessGuard();
    ProcessGuard(const ProcessGuard&) = delete;
    ProcessGuard& operator=(const ProcessGuard&) = delete;
    void Watch(DWORD pid);
    bool Running() const;
    DWORD Pid() const { return m_process ? GetProcessId(m_process) : 0; }
    // Waits for the end; true when it came in time.
    bool WaitForEnd(DWORD timeoutMs) const;
    // The exit code, or -1 when the process did not end in time.
    long WaitExit(DWORD timeoutMs) const;

private:
    HANDLE m_process = nullptr;
};

// Processes a test started that may end before the processes they start
// (a daemon, QVShlExe): the end-of-program check follows their children too.
void RememberStarted(DWORD pid, bool daemon = false);
std::set<DWORD> StartedProcesses();
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
