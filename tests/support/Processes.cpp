#include "Processes.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <atomic>
#include <mutex>

#include "Desktops.h"
#include "Handle.h"
#include "ProcessApi.h"
#include "TestFiles.h"

namespace qvtest {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

constexpr DWORD kGuardAccess = PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;

struct Started {
    std::mutex lock;
    std::vector<qv::UniqueHandle> processes;
    bool daemon = false;
};

Started& StartedRecord() {
    static Started record;
    return record;
}

HANDLE Duplicate(HANDLE process) {
    HANDLE copy = nullptr;
    if (!process || !DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE,
                                     DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

}  // namespace

DWORD ParentOf(HANDLE process) { return process ? FactsOf(process).parent : 0; }

bool StartedBy(const ProcessFacts& child, const ProcessFacts& parent) {
    return parent.pid != 0 && child.parent == parent.pid && child.created >= parent.created &&
           (parent.exited == 0 || child.created <= parent.exited);
}

bool IsChildOf(HANDLE child, HANDLE parent) { return child && parent && StartedBy(FactsOf(child), FactsOf(parent)); }

namespace {

// Wine starts these for itself (a desktop's window helper, services); they
// belong to the session, not to a test.
bool WineHelper(const char* image) {
    for (const char* helper : {"explorer.exe", "services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe",
                               "rpcss.exe", "conhost.exe", "start.exe", "winemenubuilder.exe", "wineboot.exe"})
        if (lstrcmpiA(image, helper) == 0) return true;
    return false;
}

}  // namespace

std::vector<qv::UniqueHandle> RunningDescendants(const std::vector<HANDLE>& roots) {
    std::vector<PROCESSENTRY32> listed;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return {};
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        listed.push_back(entry);
    CloseHandle(snapshot);

    std::vector<qv::UniqueHandle> family;
    for (HANDLE root : roots) family.emplace_back(Duplicate(root));
    std::set<DWORD> seen;
    for (const qv::UniqueHandle& member : family) seen.insert(GetProcessId(member.Get()));
    std::vector<qv::UniqueHandle> found;
    for (size_t next = 0; next < family.size(); ++next) {
        if (!family[next]) continue;
        const ProcessFacts parent = FactsOf(family[next].Get());
        for (const PROCESSENTRY32& p : listed) {
            if (p.th32ParentProcessID != parent.pid || seen.count(p.th32ProcessID)) continue;
            qv::UniqueHandle child(OpenProcess(kGuardAccess, FALSE, p.th32ProcessID));
            if (!child || WaitForSingleObject(child.Get(), 0) != WAIT_TIMEOUT ||
                !StartedBy(FactsOf(child.Get()), parent))
                continue;
            seen.insert(p.th32ProcessID);
            if (!WineHelper(p.szExeFile)) found.emplace_back(Duplicate(child.Get()));
            family.push_back(std::move(child));
        }
    }
    return found;
}

bool SystemAppliesCreationPriorityClass() {
    std::string line = "\"" + FixturePath() + "\" --no-window --lifetime=3000";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS, nullptr, nullptr, &si, &pi))
        return false;
    bool applied = GetPriorityClass(pi.hProcess) == IDLE_PRIORITY_CLASS;
    EndProcess(pi.hProcess, 0, "priority class probe");
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return applied;
}

void RememberStarted(HANDLE process, bool daemon) {
    Started& record = StartedRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    if (HANDLE copy = Duplicate(process)) record.processes.emplace_back(copy);
    record.daemon = record.daemon || daemon;
}

std::vector<qv::UniqueHandle> StartedProcesses() {
    Started& record = StartedRecord();
    std::lock_guard<std::mutex> hold(record.lock);
    std::vector<qv::UniqueHandle> copies;
    for (const qv::UniqueHandle& process : record.processes) copies.emplace_back(Duplicate(process.Get()));
    return copies;
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

bool ProcessGuard::Take(HANDLE opened, bool accepted, const std::string& what) {
    if (m_process) CloseHandle(m_process);
    m_process = nullptr;
    if (opened && accepted) {
        m_process = opened;
        return true;
    }
    if (opened) CloseHandle(opened);
    std::fprintf(stderr, "ProcessGuard: %s; nothing held\n", what.c_str());
    WriteProcessLine("guard holds nothing: " + what);
    return false;
}

bool ProcessGuard::Hold(HANDLE process) {
    HANDLE copy = Duplicate(process);
    return Take(copy, copy != nullptr, "no handle to copy");
}

bool ProcessGuard::WatchReported(const std::string& report) {
    unsigned long pid = 0;
    unsigned long long created = 0;
    for (const std::string& line : ReportLines(report))
        if (std::sscanf(line.c_str(), "START pid=%lu created=%llu", &pid, &created) == 2) break;
    HANDLE opened = pid ? OpenProcess(kGuardAccess, FALSE, pid) : nullptr;
    const bool same = opened && created != 0 && FactsOf(opened).created == created;
    return Take(opened, same,
                "the process with id " + std::to_string(pid) + " is not the one that wrote " + report);
}

bool ProcessGuard::WatchWindowOwner(HWND window) {
    qv::UniqueHandle opened = qv::OpenWindowProcess(window, kGuardAccess);
    const bool valid = opened.Valid();
    return Take(opened.Release(), valid, "the owner of the window has ended or cannot be opened");
}

bool ProcessGuard::WatchChild(DWORD pid, HANDLE parent) {
    HANDLE opened = pid ? OpenProcess(kGuardAccess, FALSE, pid) : nullptr;
    return Take(opened, IsChildOf(opened, parent),
                "the process with id " + std::to_string(pid) + " was not started by the process held");
}

ProcessGuard::~ProcessGuard() {
    if (!m_process) return;
    if (Running()) {
        EndProcess(m_process, 1, "guard: still running at the end of its scope");
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
    guard.Hold(pi.hProcess);
    RememberStarted(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
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
        EndProcess(process.Get(), 1, program + " did not end in time");
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
            ProcessGuard guard;  // ends it on leaving the scope
            if (!guard.WatchWindowOwner(window) || !guard.Running()) return;
        }
    });
}

}  // namespace qvtest
