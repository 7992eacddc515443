#pragma once
// Which programs run where, and which window a started program opened. The
// process functions are bound at run time from the system libraries, as
// they differ by platform family and are not on every installation.

#include <windows.h>

#include <tlhelp32.h>

#include <cstdint>
#include <string>

#include "Handle.h"
#include "TextString.h"

namespace qv {

enum PlatformFamily { kPlatformUnknown = -1, kPlatformOther = 1, kPlatformWin95 = 2, kPlatformNT = 3 };

// Computed once from the system version and kept.
int PlatformKind();

enum BindGroup { kProcessFunctions = 1, kImeFunction = 2 };

struct ProcessApi {
    BOOL(WINAPI* EnumProcesses)(DWORD*, DWORD, DWORD*) = nullptr;
    BOOL(WINAPI* EnumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
    DWORD(WINAPI* GetModuleFileNameExA)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
    DWORD(WINAPI* GetModuleBaseNameA)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
    BOOL(WINAPI* ImmDisableIME)(DWORD) = nullptr;
    HANDLE(WINAPI* CreateToolhelp32Snapshot)(DWORD, DWORD) = nullptr;
    BOOL(WINAPI* Process32First)(HANDLE, PROCESSENTRY32*) = nullptr;
    BOOL(WINAPI* Process32Next)(HANDLE, PROCESSENTRY32*) = nullptr;
};

// groups: a set of BindGroup bits; bind true binds, false releases.
void BindProcessApi(int groups, bool bind);

// Keeps the groups bound for a scope, on every path out of it.
class ProcessApiBinding {
public:
    explicit ProcessApiBinding(int groups) : m_groups(groups) { BindProcessApi(groups, true); }
    ~ProcessApiBinding() { BindProcessApi(m_groups, false); }
    ProcessApiBinding(const ProcessApiBinding&) = delete;
    ProcessApiBinding& operator=(const ProcessApiBinding&) = delete;

private:
    int m_groups;
};
// The functions bound so far; callers test the pointers they need.
const ProcessApi& BoundProcessApi();

// The directory of the running program with its trailing backslash; empty
// when its path does not fit a path buffer.
std::string ProgramDirectory();

// The least access that reading a process's module names needs.
inline constexpr DWORD kModuleQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// Base name (lower-cased) and full path of a process's first module; false
// when its modules cannot be read.
bool ProcessModuleBaseName(HANDLE process, TextString& name);
bool ProcessModulePath(HANDLE process, TextString& path);

// The process that owns window, opened with access; null when the window is
// gone or its owner could not be opened. A process id is free for reuse as
// soon as its process ends, so an id read from a window may name another
// program by the time it is opened; a window cannot outlive its process, so
// the window still belonging to that id once the handle is open proves the
// handle is its owner's. processId, when given, receives the id (0 on failure).
UniqueHandle OpenWindowProcess(HWND window, DWORD access, DWORD* processId = nullptr);
// The base name (lower-cased) of the module of window's owner.
bool WindowModuleBaseName(HWND window, TextString& name);

// Desktop rights to enumerate its windows: read objects, enumerate, switch.
constexpr ACCESS_MASK kDesktopQueryAccess = 0x141;

// Whether a process other than skippedProcessId whose first module has this
// lower-cased base name owns a window on the named desktop (none: the
// caller's); false too when the desktop cannot be opened.
bool ModuleHasWindowOn(const char* desktopName, const TextString& moduleName, DWORD skippedProcessId);

// 0 when a process whose main module has the file name of programPath has a
// window on the named desktop (none: the caller's desktop), the caller's own
// process aside; 1 when there is none or the desktop cannot be opened.
int IsModuleRunning(const char* desktopName, const char* programPath);

// The window search that finds a started program's top-level window. Its
// state is process-wide: one search at a time per process.
enum WindowSearchMode { kSearchByProcessId = 1, kSearchByModulePath = 2 };
void ResetWindowSearch(int mode);
HWND WindowSearchResult();
// EnumWindows callback; the parameter is a process id (mode 1) or a module
// path text (mode 2).
BOOL CALLBACK LaunchedWindowSearchProc(HWND window, LPARAM param);
// "%4d%02d%02d %02d:%02d.%02d.%03d" of a creation time, for comparing starts.
void FormatStartTime(const SYSTEMTIME& time, char (&text)[32]);

// Enumerates the top-level windows with the search up to rounds times, one
// second apart, until a window is found.
HWND SearchLaunchedWindow(int rounds, LPARAM param);

// Rounds of one second each that the searches make for a time-out.
int LaunchSearchRounds(uint32_t timeoutMs);  // after a direct start
int ShellSearchRounds(uint32_t timeoutMs);   // after a shell start

// The top-level window of a process started through the shell, found among
// the windows of every process of the same program file (the latest start
// wins); the snapshots serve the Windows 95 family only.
HWND FindLaunchedWindow(HANDLE process, uint32_t timeoutMs, HANDLE snapshotBefore, HANDLE snapshotAfter);
// Windows 95 family: the first child of parentId in the later snapshot that
// the earlier one does not hold, or 0.
DWORD NewChildProcess(HANDLE snapshotBefore, HANDLE snapshotAfter, DWORD parentId);

}  // namespace qv
