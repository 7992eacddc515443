#include "ProcessLog.h"

#include <winternl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace qvtest {

namespace {

uint64_t Number(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The parent id as the process's own record keeps it (ntdll, bound at run
// time: the import library is not in every toolchain).
DWORD ParentFromHandle(HANDLE process) {
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return 0;
    return static_cast<DWORD>(basic.InheritedFromUniqueProcessId);
}

std::atomic<uint64_t> g_testStart{0};

class TestStartListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        g_testStart = Number(now);
    }
};

std::string Stamp() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    char text[40];
    std::snprintf(text, sizeof(text), "%02u:%02u:%02u.%03u", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

// "program.exe Suite.Test" of the calling test program, for every line.
std::string Who() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string who(path);
    who = who.substr(who.find_last_of('\\') + 1);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    who += test ? std::string(" ") + test->test_suite_name() + "." + test->name() : std::string(" -");
    return who;
}

std::string Described(const ProcessFacts& facts) {
    char text[96];
    std::snprintf(text, sizeof(text), "pid=%lu parent=%lu created=%llu ", static_cast<unsigned long>(facts.pid),
                  static_cast<unsigned long>(facts.parent), static_cast<unsigned long long>(facts.created));
    return text + ("image=" + (facts.image.empty() ? std::string("?") : facts.image));
}

}  // namespace

ProcessFacts FactsOf(HANDLE process) {
    ProcessFacts facts;
    facts.pid = GetProcessId(process);
    facts.parent = ParentFromHandle(process);
    FILETIME created = {}, exited = {}, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        facts.created = Number(created);
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) facts.exited = Number(exited);
    }
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameA(process, 0, path, &size)) facts.image.assign(path, size);
    return facts;
}

uint64_t OwnCreationTime() {
    static const uint64_t created = FactsOf(GetCurrentProcess()).created;
    return created;
}

uint64_t TestStartTime() {
    const uint64_t start = g_testStart;
    return start ? start : OwnCreationTime();
}

void WriteProcessLine(const std::string& text) {
    const char* path = std::getenv("QV_PROCESS_LOG");
    if (!path || !*path) return;
    // Append access alone: every write goes to the end, whoever else writes.
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = Stamp() + " " + text + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void LogProgramStart() {
    static TestStartListener* listener = [] {
        auto* made = new TestStartListener;
        ::testing::UnitTest::GetInstance()->listeners().Append(made);
        return made;
    }();
    (void)listener;
    WriteProcessLine(Who() + " main " + Described(FactsOf(GetCurrentProcess())) + " line=" + GetCommandLineA());
}

bool EndProcess(HANDLE process, UINT exitCode, const std::string& why) {
    const ProcessFacts facts = FactsOf(process);
    WriteProcessLine(Who() + " ends " + Described(facts) + " code=" + std::to_string(exitCode) + " why=" + why);
    return TerminateProcess(process, exitCode) != FALSE;
}

}  // namespace qvtest
