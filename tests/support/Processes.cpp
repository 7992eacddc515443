#include "Processes.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <atomic>
#include <mutex>

#include "Desktops.h"
#include "Handle.h"
#include "TestFiles.h"

namespace qvtest {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

struct Started {
    std::mutex lock;
    std::set<DWORD> pids;
    bool daemon = false;
};

Started& StartedRecord() {
    static Started record;
    return record;
}

// Whether the process list holds pid, and its parent's id.
bool ListedParent(DWORD pid, DWORD* parent) {
    bool listed = false;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && !listed; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID != pid) continue;
        *parent = entry.th32ParentProcessID;
        listed = true;
    }
    CloseHandle(snapshot);
    return listed;
}

}  // namespace

DWORD ParentOf(DWORD pid) {
    DWORD parent = 0;
    return ListedParent(pid, &parent) ? parent : 0;
}

bool SystemAppliesCreationPriorityClass() {
    std::string line = "\"" + FixturePath() + "\" --no-window --lifetime=3000";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
        return false;
    bool applied = GetPriorityClass(pi.hProcess) == IDLE_PRIORITY_CLASS;
    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return applied;
}

void RememberStarted(DWORD pid, bool daemon) {
    Started& record = StartedRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    record.pids.insert(pid);
    record.daemon = record.daemon || daemon;
}

std::set<DWORD> StartedProcesses() {
    Started& record = StartedRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    return record.pids;
}

bool StartedDaemon() {
    Started& record = StartedRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    return record.daemon;
}

std::string FixturePath() { return ProgramFolder() + "QVFixture.exe"; }

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

std::vector<std::string> ReportLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text = ReadBytes(path);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool ReportHas(const std::string& path, const std::string& line) {
    for (const std::string& l : ReportLines(path))
        if (l == line) return true;
    return false;
}

DWORD ReportedPid(const std::string& path) {
    for (const std::string& line : ReportLines(path)) {
        unsigned long pid = 0;
        if (std::sscanf(line.c_str(), "START pid=%lu", &pid) == 1) return pid;
    }
    return 0;
}

void ProcessGuard::Watch(DWORD pid) {
    if (m_process) CloseHandle(m_process);
    m_process = pid ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
    // Wine gives a freed id to a new process a few seconds later. An id that
    // a test learnt from a report or a window may belong by now to a program
    // started from the Linux side (another test program, whose parent id is
    // 0), which no test ever started: that one is never ended here.
    // A process so new that the list does not show it yet is no more ours.
    DWORD parent = 0;
    const bool listed = m_process && ListedParent(pid, &parent);
    if (m_process && (listed ? parent == 0 : WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)) {
        std::fprintf(stderr, "ProcessGuard: process %lu was started by no program of the session; left alone\n",
                     static_cast<unsigned long>(pid));
        CloseHandle(m_process);
        m_process = nullptr;
    }
}

ProcessGuard::~ProcessGuard() {
    if (!m_process) return;
    if (Running()) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool ProcessGuard::Running() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

bool ProcessGuard::WaitForEnd(DWORD timeoutMs) const {
    return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

long ProcessGuard::WaitExit(DWORD timeoutMs) const {
    DWORD code = 0;
    if (!WaitForEnd(timeoutMs) || !GetExitCodeProcess(m_process, &code)) return -1;
    return static_cast<long>(code);
}

bool StartProgram(ProcessGuard& guard, const std::string& program, const std::string& arguments,
                  const std::string& desktop) {
    const std::string path = ProgramFolder() + program;
    std::string line = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::string desktopName = desktop;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!desktopName.empty()) si.lpDesktop = desktopName.data();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "CreateProcess %s on \"%s\" failed: error %lu\n", program.c_str(), desktop.c_str(),
                     GetLastError());
        return false;
    }
    guard.Watch(pi.dwProcessId);  // while this handle keeps the id from being reused
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    RememberStarted(pi.dwProcessId);
    return true;
}

ConsoleRun RunConsoleProgram(const std::string& program, const std::string& arguments, const std::string& desktop,
                             const std::string& folder, DWORD timeoutMs) {
    static std::atomic<int> runs{0};
    const std::string stem = folder + "\\console" + std::to_string(runs++);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    auto create = [&](const std::string& path) {
        return qv::UniqueHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    qv::UniqueHandle out = create(stem + ".out");
    qv::UniqueHandle err = create(stem + ".err");
    ConsoleRun run;
    if (!out || !err) return run;
    std::string line = "\"" + ProgramFolder() + program + "\" " + arguments;
    std::string desktopName = desktop;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!desktopName.empty()) startup.lpDesktop = desktopName.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.Get();
    startup.hStdError = err.Get();
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
        std::fprintf(stderr, "cannot start %s\n", line.c_str());
        return run;
    }
    qv::UniqueHandle process(info.hProcess);
    qv::UniqueHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
        std::fprintf(stderr, "%s did not end in time: %s\n", program.c_str(), arguments.c_str());
    } else {
        GetExitCodeProcess(process.Get(), &run.exitCode);
    }
    out.Reset();
    err.Reset();
    run.out = ReadBytes(stem + ".out");
    run.err = ReadBytes(stem + ".err");
    return run;
}

void EndWindowOwners(const std::string& desktopName, const char* className) {
    RunOnDesktop(desktopName, [&] {
        for (int i = 0; i < 20; ++i) {
            HWND window = FindWindowA(className, nullptr);
            if (!window) return;
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            ProcessGuard guard(pid);  // ends it on leaving the scope
            if (!guard.Running()) return;
        }
    });
}

}  // namespace qvtest
