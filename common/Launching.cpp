#include "Launching.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "Convert.h"
#include "Executant.h"
#include "LaunchRules.h"
#include "Log.h"
#include "PathText.h"
#include "ProcessApi.h"
#include "SystemError.h"

namespace qv {

namespace {

// CreateProcess wants writable texts for the command line and desktop name.
std::vector<char> Writable(const char* text) {
    size_t len = text ? std::strlen(text) : 0;
    std::vector<char> buf(text ? text : "", (text ? text : "") + len);
    buf.push_back('\0');
    return buf;
}

const char* OrNull(const char* text) { return text && *text ? text : nullptr; }

void LogTooLong(const std::string& start) {
    WriteLog("CommandLine Too Long. (%.64s...)\n", start.c_str());
}

// "fileName arguments", refused when longer than CreateProcess takes.
bool JoinCommandLine(std::string& line, std::initializer_list<const char*> parts) {
    line.clear();
    for (const char* part : parts) {
        if (!AppendCommandText(line, part)) {
            LogTooLong(line);
            return false;
        }
    }
    return true;
}

// createFailed tells a refused start (the system's error is the last error)
// from a line too long to try, which is only logged.
DWORD Start(HWND foreground, const char* program, const char* arguments, const char* directory, const char* desktopName,
            DWORD extraFlags, bool* createFailed) {
    *createFailed = false;
    std::string line;
    if (!(arguments ? JoinCommandLine(line, {program, " ", arguments}) : JoinCommandLine(line, {program}))) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    std::vector<char> command = Writable(line.c_str());
    std::vector<char> desktop = Writable(desktopName);

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    GetStartupInfoA(&si);
    si.cb = sizeof(si);
    si.lpDesktop = desktopName ? desktop.data() : nullptr;
    // Our own C runtime's handle table and standard handles mean nothing to a
    // child that inherits no handles.
    si.lpReserved = nullptr;
    si.cbReserved2 = 0;
    si.lpReserved2 = nullptr;
    si.dwFlags &= ~static_cast<DWORD>(STARTF_USESTDHANDLES);

    if (foreground) SetForegroundWindow(foreground);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, extraFlags | kRunProgramFlags, nullptr,
                        OrNull(directory), &si, &pi)) {
        DWORD error = GetLastError();
        WriteLog("CreateProcess(%s) Failed.\n", line.c_str());
        SetLastError(error);
        *createFailed = true;
        return 0;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return pi.dwProcessId;
}

}  // namespace

DWORD StartProgram(const char* program, const char* arguments, const char* directory, const char* desktopName,
                   DWORD extraFlags) {
    bool createFailed = false;
    return Start(nullptr, program, arguments, directory, desktopName, extraFlags, &createFailed);
}

DWORD RunProgram(HWND foreground, const char* program, const char* arguments, const char* directory,
                 const char* desktopName, DWORD extraFlags) {
    bool createFailed = false;
    DWORD pid = Start(foreground, program, arguments, directory, desktopName, extraFlags, &createFailed);
    if (createFailed) ShowSystemError(1);
    return pid;
}

DWORD Executant::InputWait() const { return InputTimeoutInUse(inputTimeout); }

DWORD Executant::LongestStartMs() const {
    constexpr DWORD kProcessCreation = 1000;
    return kProcessCreation + 2 * InputWait();
}

bool Executant::WaitUntilIdle(HANDLE process, const char* name, LogLine& line) const {
    const DWORD wait = InputWait();
    const DWORD idle = WaitForInputIdle(process, wait);
    if (idle == WAIT_TIMEOUT) {
        line.Add("(%s)は起動完了待ﾀｲﾑｱｳﾄ(%d s).\n", name, static_cast<int>(wait));
        return false;
    }
    if (idle != 0) {
        line.Add("%s\n", SystemErrorText().c_str());
        line.Add("(%s)はProcessﾊﾝﾄﾞﾙが獲得できません.\n", name);
        return false;
    }
    return true;
}

void Executant::DropHeldProcess() {
    heldProcess.Reset();
    heldThreadId = 0;
}

int Executant::ShowMode() const { return ShowCommandFromText(m_properties.Value(kShowMode)); }

STARTUPINFOA Executant::StartupInfo(char* desktopName) const {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.lpDesktop = desktopName;
    if (positionSet) {
        si.dwX = static_cast<DWORD>(x);
        si.dwY = static_cast<DWORD>(y);
        si.dwFlags |= STARTF_USEPOSITION;
    }
    if (sizeSet) {
        si.dwXSize = static_cast<DWORD>(width);
        si.dwYSize = static_cast<DWORD>(height);
        si.dwFlags |= STARTF_USESIZE;
    }
    si.dwFlags |= STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(ShowMode());
    return si;
}

// Asynchronous: the window belongs to another program, which may be hung,
// and the desktop's thread must not wait for it.
void Executant::PlaceWindow(HWND window) const {
    constexpr UINT kAsync = SWP_NOZORDER | SWP_ASYNCWINDOWPOS;
    if (positionSet) SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | kAsync);
    if (sizeSet) SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | kAsync);
    ShowWindowAsync(window, ShowMode());
}

HWND Executant::FindLaunchedWindow(HANDLE process, uint32_t timeoutMs, HANDLE snapshotBefore, HANDLE snapshotAfter) {
    return qv::FindLaunchedWindow(process, timeoutMs, snapshotBefore, snapshotAfter);
}

void Executant::ResetWindowSearch(int mode) { qv::ResetWindowSearch(mode); }

int Executant::Launch(const char* desktopName) {
    if (shellExec) return LaunchByShell();
    const TextString program = FileName();
    if (ParseDecimal(m_properties.Value(kInitialOnce)) != 0 &&
        IsModuleRunning(desktopName, program.c_str()) == 0) {
        WriteLog("Module [%s] Already Running in Desktop[%s].\n", program.c_str(), desktopName ? desktopName : "");
        return 1;
    }
    DropHeldProcess();

    std::string line;
    if (!JoinCommandLine(line, {program.c_str(), " ", Arguments()})) return -1;
    std::vector<char> command = Writable(line.c_str());
    std::vector<char> desktop = Writable(desktopName);
    STARTUPINFOA si = StartupInfo(desktopName ? desktop.data() : nullptr);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, LaunchCreationFlags(prioritySet, priority),
                        nullptr, OrNull(m_properties.Value(kPath)), &si, &pi)) {
        WriteLog("CreateProcess(%s) Failed.\n", line.c_str());
        return -1;
    }
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    WriteLog("CreatePrcess(%s) Success.\n", line.c_str());

    const ProcessApi& api = BoundProcessApi();
    if (api.ImmDisableIME && ParseDecimal(m_properties.Value(kDisableIME)) != 0) {
        WriteLog("IME Disable OK.\n");
        api.ImmDisableIME(pi.dwThreadId);
    }
    int threadPriority = 0;
    if (prioritySet && ThreadPriorityFor(priority, &threadPriority)) SetThreadPriority(thread.Get(), threadPriority);
    ResumeThread(thread.Get());
    thread.Reset();

    DWORD threadId = pi.dwThreadId;
    if (InputWait() > 0) {
        LogLine failure;
        if (!WaitUntilIdle(process.Get(), program.c_str(), failure)) return 0;
        if (positionSet || sizeSet) {
            ResetWindowSearch(kSearchByProcessId);
            HWND window = SearchLaunchedWindow(LaunchSearchRounds(InputWait()), static_cast<LPARAM>(pi.dwProcessId));
            if (window) {
                PlaceWindow(window);
                threadId = GetWindowThreadProcessId(window, nullptr);
            }
        }
    }
    if (holdProcess) {
        heldProcess = std::move(process);
        heldThreadId = threadId;
    }
    return 0;
}

int Executant::LaunchHeld() {
    const bool suspended = ParseDecimal(m_properties.Value(kInitialOnce)) != 0;
    if (suspended) m_properties.Update(kInitialOnce, "0", false);
    holdProcess = true;
    int result = Launch(nullptr);
    holdProcess = false;
    if (suspended) m_properties.Update(kInitialOnce, "1", false);
    return result;
}

int Executant::LaunchByShell() {
    DropHeldProcess();
    const bool needWindow = positionSet || sizeSet || holdProcess;
    const bool win95 = PlatformKind() == kPlatformWin95 && needWindow;
    const ProcessApi& api = BoundProcessApi();
    auto snapshot = [&]() {
        return UniqueHandle(win95 && api.CreateToolhelp32Snapshot ? api.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)
                                                                  : nullptr);
    };

    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    sei.lpFile = Arguments();
    sei.lpDirectory = OrNull(m_properties.Value(kPath));
    sei.nShow = ShowMode();
    // The start and its wait take a while; other threads log meanwhile.
    LogLine line;
    line.Add("ShellExecuteEx(%s) -> ", Arguments());
    UniqueHandle before = snapshot();
    if (!ShellExecuteExA(&sei)) {
        line.Add("Exec Faild.\n");
        return 0;
    }
    UniqueHandle process(sei.hProcess);
    if (reinterpret_cast<INT_PTR>(sei.hInstApp) < 32 || !process) {
        line.Add("Insntance or ProcessHandle Faild.\n");
        return 0;
    }
    if (!WaitUntilIdle(process.Get(), Arguments(), line)) return 0;
    UniqueHandle after = snapshot();
    line.Add("Success.\n");
    line.Write();
    if (prioritySet && PriorityClassBits(priority)) SetPriorityClass(process.Get(), PriorityClassBits(priority));
    if (!needWindow) return 0;

    HWND window = FindLaunchedWindow(process.Get(), InputWait(), before.Get(), after.Get());
    if (!window) {
        WriteLog("ToplevelWindow が獲得できませんでした.\n");
        return 0;
    }
    PlaceWindow(window);
    if (holdProcess) {
        heldProcess = std::move(process);
        heldThreadId = GetWindowThreadProcessId(window, nullptr);
    }
    return 0;
}

int Executant::LaunchViaShlExe(const char* desktopName) {
    DropHeldProcess();
    char own[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        WriteLog("GetModuleFileName() Failed.\n");
        return -1;
    }
    own[DirectoryLength(own)] = '\0';
    // Quoted: an unquoted path with blanks would let CreateProcess guess,
    // starting C:\Program.exe when there is one.
    std::string sw = ShlExeSwitch(positionSet || sizeSet, inputTimeout);
    std::string line;
    if (!JoinCommandLine(line, {"\"", own, "QVShlExe.exe\" ", sw.c_str(), " ", Arguments()})) return -1;
    std::vector<char> command = Writable(line.c_str());
    std::vector<char> desktop = Writable(desktopName);
    STARTUPINFOA si = StartupInfo(desktopName ? desktop.data() : nullptr);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, ShlExeCreationFlags(priority), nullptr,
                        OrNull(m_properties.Value(kPath)), &si, &pi)) {
        WriteLog("CreateProcess(%s) Failed.\n", line.c_str());
        return -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    WriteLog("CreatePrcess(%s) Success.\n", line.c_str());
    return 0;
}

}  // namespace qv
