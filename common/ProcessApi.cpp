#include "ProcessApi.h"

#include <cstdio>
#include <cstring>

#include "Handle.h"
#include "PathText.h"

namespace qv {

namespace {

// Reading a process's module names needs no more than this; asking for all
// access would fail on more processes and change nothing for the caller.

struct Bindings {
    ProcessApi api;
    UniqueLibrary psapi;
    UniqueLibrary imm;
    UniqueLibrary kernel;
};

Bindings& State() {
    static Bindings bindings;
    return bindings;
}

template <class Fn>
void Bind(HMODULE library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

struct WindowSearch {
    int mode = kSearchByProcessId;
    HWND best = nullptr;
    char startTime[32] = {};
};

WindowSearch& Search() {
    static WindowSearch search;
    return search;
}

HMODULE FirstModule(HANDLE process) {
    const ProcessApi& api = State().api;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!api.EnumProcessModules || !api.EnumProcessModules(process, &module, sizeof(module), &needed)) return nullptr;
    return module;
}

struct ModuleQuery {
    TextString wanted;
    DWORD skipped;
    bool found;
};

BOOL CALLBACK MatchModuleWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<ModuleQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0 || pid == query->skipped) return TRUE;
    TextString name;
    if (!WindowModuleBaseName(window, name)) return TRUE;
    if (name == query->wanted) {
        query->found = true;
        return FALSE;
    }
    return TRUE;
}

// Calls fn(entry) for every process of a snapshot until it returns false.
template <class Fn>
void WalkSnapshot(HANDLE snapshot, Fn&& fn) {
    const ProcessApi& api = State().api;
    if (!api.Process32First || !api.Process32Next) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = api.Process32First(snapshot, &entry); ok; ok = api.Process32Next(snapshot, &entry))
        if (!fn(entry)) return;
}

}  // namespace

int PlatformKind() {
    static int kind = 0;
    if (kind == 0) {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExA(&info))
            kind = kPlatformUnknown;
        else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT)
            kind = kPlatformNT;
        else if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
            kind = kPlatformWin95;
        else
            kind = kPlatformOther;
    }
    return kind;
}

void BindProcessApi(int groups, bool bind) {
    int platform = PlatformKind();
    Bindings& b = State();
    ProcessApi& api = b.api;
    if (!bind) {
        if (groups & kProcessFunctions) {
            // EnumProcesses goes too: left bound it would point into a freed library.
            api.EnumProcesses = nullptr;
            api.EnumProcessModules = nullptr;
            api.GetModuleFileNameExA = nullptr;
            api.GetModuleBaseNameA = nullptr;
            api.CreateToolhelp32Snapshot = nullptr;
            api.Process32First = nullptr;
            api.Process32Next = nullptr;
            b.psapi.Reset();
            b.kernel.Reset();
        }
        if (groups & kImeFunction) {
            api.ImmDisableIME = nullptr;
            b.imm.Reset();
        }
        return;
    }
    if (platform == kPlatformNT) {
        if (groups & kProcessFunctions) {
            if (!b.psapi) b.psapi.Reset(LoadLibraryA("PSAPI.DLL"));
            if (b.psapi && !api.EnumProcessModules) {
                Bind(b.psapi.Get(), "EnumProcesses", api.EnumProcesses);
                Bind(b.psapi.Get(), "EnumProcessModules", api.EnumProcessModules);
                Bind(b.psapi.Get(), "GetModuleFileNameExA", api.GetModuleFileNameExA);
                Bind(b.psapi.Get(), "GetModuleBaseNameA", api.GetModuleBaseNameA);
            }
        }
        if (groups & kImeFunction) {
            if (!b.imm) b.imm.Reset(LoadLibraryA("IMM32.DLL"));
            if (b.imm && !api.ImmDisableIME) Bind(b.imm.Get(), "ImmDisableIME", api.ImmDisableIME);
        }
    } else if (platform == kPlatformWin95) {
        if (!b.kernel) b.kernel.Reset(LoadLibraryA("Kernel32.DLL"));
        if (!b.kernel) return;
        Bind(b.kernel.Get(), "CreateToolhelp32Snapshot", api.CreateToolhelp32Snapshot);
        Bind(b.kernel.Get(), "Process32First", api.Process32First);
        Bind(b.kernel.Get(), "Process32Next", api.Process32Next);
    }
}

const ProcessApi& BoundProcessApi() { return State().api; }

bool ProcessModuleBaseName(HANDLE process, TextString& name) {
    const ProcessApi& api = State().api;
    if (!api.GetModuleBaseNameA || !process) return false;
    HMODULE module = FirstModule(process);
    if (!module) return false;
    char text[257];
    DWORD length = api.GetModuleBaseNameA(process, module, text, 256);
    if (length == 0) return false;
    text[length < 256 ? length : 256] = '\0';
    name.Assign(text);
    name.LowerAscii();
    return true;
}

UniqueHandle OpenWindowProcess(HWND window, DWORD access, DWORD* processId) {
    if (processId) *processId = 0;
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid) || pid == 0) return UniqueHandle();
    UniqueHandle process(OpenProcess(access, FALSE, pid));
    DWORD owner = 0;
    if (!process || !GetWindowThreadProcessId(window, &owner) || owner != pid) return UniqueHandle();
    if (processId) *processId = pid;
    return process;
}

bool WindowModuleBaseName(HWND window, TextString& name) {
    UniqueHandle process = OpenWindowProcess(window, kModuleQueryAccess);
    return process && ProcessModuleBaseName(process.Get(), name);
}

bool ProcessModulePath(HANDLE process, TextString& path) {
    const ProcessApi& api = State().api;
    if (!api.GetModuleFileNameExA) return false;
    HMODULE module = FirstModule(process);
    if (!module) return false;
    char text[MAX_PATH + 1];
    DWORD length = api.GetModuleFileNameExA(process, module, text, MAX_PATH);
    if (length == 0) return false;
    text[length < MAX_PATH ? length : MAX_PATH] = '\0';
    return path.Assign(text);
}

int IsModuleRunning(const char* desktopName, const char* programPath) {
    ModuleQuery query{ModuleNameOf(programPath), GetCurrentProcessId(), false};
    if (PlatformKind() == kPlatformWin95) {
        const ProcessApi& api = State().api;
        if (!api.CreateToolhelp32Snapshot) return 0;
        UniqueHandle snapshot(api.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return 1;
        WalkSnapshot(snapshot.Get(), [&](const PROCESSENTRY32& entry) {
            query.found = ModuleNameOf(entry.szExeFile) == query.wanted;
            return !query.found;
        });
        return query.found ? 0 : 1;
    }
    return ModuleHasWindowOn(desktopName, query.wanted, query.skipped) ? 0 : 1;
}

bool ModuleHasWindowOn(const char* desktopName, const TextString& moduleName, DWORD skippedProcessId) {
    ModuleQuery query{moduleName, skippedProcessId, false};
    if (desktopName && *desktopName) {
        UniqueDesktop desktop(OpenDesktopA(desktopName, 0, FALSE, kDesktopQueryAccess));
        if (!desktop) return false;
        EnumDesktopWindows(desktop.Get(), MatchModuleWindow, reinterpret_cast<LPARAM>(&query));
    } else {
        EnumWindows(MatchModuleWindow, reinterpret_cast<LPARAM>(&query));
    }
    return query.found;
}

void ResetWindowSearch(int mode) {
    WindowSearch& search = Search();
    search.best = nullptr;
    search.startTime[0] = '\0';
    search.mode = mode;
}

HWND WindowSearchResult() { return Search().best; }

void FormatStartTime(const SYSTEMTIME& t, char (&text)[32]) {
    std::snprintf(text, sizeof(text), "%4d%02d%02d %02d:%02d.%02d.%03d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond, t.wMilliseconds);
}

BOOL CALLBACK LaunchedWindowSearchProc(HWND window, LPARAM param) {
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0) return TRUE;
    WindowSearch& search = Search();
    if (search.mode == kSearchByProcessId) {
        if (pid != static_cast<DWORD>(param)) return TRUE;
        search.best = window;
        return FALSE;
    }
    UniqueHandle process = OpenWindowProcess(window, kModuleQueryAccess);
    if (!process) return TRUE;
    TextString path;
    if (!ProcessModulePath(process.Get(), path) || !(path == reinterpret_cast<const char*>(param))) return TRUE;
    FILETIME created, exited, kernel, user;
    SYSTEMTIME utc;
    if (!GetProcessTimes(process.Get(), &created, &exited, &kernel, &user) || !FileTimeToSystemTime(&created, &utc))
        return TRUE;
    char text[32];
    FormatStartTime(utc, text);
    if (std::strcmp(text, search.startTime) > 0) {
        search.best = window;
        std::memcpy(search.startTime, text, sizeof(text));
    }
    return TRUE;
}

HWND SearchLaunchedWindow(int rounds, LPARAM param) {
    for (int round = 0; round < rounds; ++round) {
        EnumWindows(LaunchedWindowSearchProc, param);
        if (Search().best) break;
        if (round + 1 < rounds) Sleep(1000);  // no point waiting after the last look
    }
    return Search().best;
}

int LaunchSearchRounds(uint32_t timeoutMs) {
    uint32_t rounds = timeoutMs / 1000;
    return rounds < 1 ? 1 : static_cast<int>(rounds > 0x7FFFFFFF ? 0x7FFFFFFF : rounds);
}

int ShellSearchRounds(uint32_t timeoutMs) {
    uint32_t rounds = timeoutMs / 1000;
    return rounds < 2 ? 1 : static_cast<int>(rounds > 0x7FFFFFFF ? 0x7FFFFFFF : rounds);
}

DWORD NewChildProcess(HANDLE snapshotBefore, HANDLE snapshotAfter, DWORD parentId) {
    DWORD found = 0;
    WalkSnapshot(snapshotAfter, [&](const PROCESSENTRY32& after) {
        if (after.th32ParentProcessID != parentId) return true;
        bool seenBefore = false;
        WalkSnapshot(snapshotBefore, [&](const PROCESSENTRY32& before) {
            seenBefore = before.th32ProcessID == after.th32ProcessID;
            return !seenBefore;
        });
        if (!seenBefore) found = after.th32ProcessID;
        return seenBefore;
    });
    return found;
}

HWND FindLaunchedWindow(HANDLE process, uint32_t timeoutMs, HANDLE snapshotBefore, HANDLE snapshotAfter) {
    int rounds = ShellSearchRounds(timeoutMs);
    Search().best = nullptr;
    if (PlatformKind() == kPlatformWin95) {
        if (!KernelHandleTraits::Valid(snapshotBefore) || !KernelHandleTraits::Valid(snapshotAfter)) return nullptr;
        DWORD child = NewChildProcess(snapshotBefore, snapshotAfter, GetCurrentProcessId());
        if (!child) return nullptr;
        ResetWindowSearch(kSearchByProcessId);
        return SearchLaunchedWindow(rounds, static_cast<LPARAM>(child));
    }
    TextString path;
    if (!ProcessModulePath(process, path)) return nullptr;
    ResetWindowSearch(kSearchByModulePath);
    return SearchLaunchedWindow(rounds, reinterpret_cast<LPARAM>(path.c_str()));
}

std::string ProgramDirectory() {
    char own[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    own[DirectoryLength(own)] = '\0';
    return own;
}

}  // namespace qv
