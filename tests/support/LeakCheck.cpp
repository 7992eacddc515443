// After the last test of a test program: nothing the tests started may still
// run, and no desktop they made may still exist. Compiled into every test
// program that uses the support library, so that no test can forget it.

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Daemon.h"
#include "Processes.h"

namespace qvtest {

namespace {

struct ProcessEntry {
    DWORD pid;
    DWORD parent;
    std::string image;
};

std::vector<ProcessEntry> Processes() {
    std::vector<ProcessEntry> all;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return all;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        all.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return all;
}

// Wine starts these for itself (a desktop's window helper, services); they
// belong to the session, not to a test.
bool WineHelper(const std::string& image) {
    for (const char* helper : {"explorer.exe", "services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe",
                               "rpcss.exe", "conhost.exe", "start.exe", "winemenubuilder.exe", "wineboot.exe"})
        if (lstrcmpiA(image.c_str(), helper) == 0) return true;
    return false;
}

// The processes descended from this one, through the started processes that
// may have ended before their children (a daemon and what it started).
std::vector<ProcessEntry> Descendants() {
    std::set<DWORD> family = StartedProcesses();
    family.insert(GetCurrentProcessId());
    std::vector<ProcessEntry> found;
    const std::vector<ProcessEntry> all = Processes();
    for (bool grew = true; grew;) {
        grew = false;
        for (const ProcessEntry& p : all) {
            if (family.count(p.pid) || !family.count(p.parent)) continue;
            family.insert(p.pid);
            if (!WineHelper(p.image)) found.push_back(p);
            grew = true;
        }
    }
    return found;
}

class LeakCheck : public ::testing::Environment {
public:
    void TearDown() override {
        EndSharedDaemon();
        std::vector<ProcessEntry> left;
        // A process told to end a moment ago may still be on its way out.
        WaitUntil([&] { return (left = Descendants()).empty(); }, 5000);
        for (const ProcessEntry& p : left) {
            ADD_FAILURE() << "left running: " << p.image << " pid " << p.pid << " (parent " << p.parent << ")";
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        // Wine drops a desktop's name a moment after its last thread left it.
        std::vector<std::string> prefixes = {"QVTest_" + std::to_string(GetCurrentProcessId()) + "_"};
        if (StartedDaemon()) prefixes.push_back("User_Desktop");
        for (const std::string& prefix : prefixes) {
            std::string names;
            if (!WaitUntil([&] { return (names = DesktopsNamed(prefix)).empty(); }, 10000))
                ADD_FAILURE() << "desktops left: " << names;
        }
    }
};

const ::testing::Environment* const g_leakCheck = ::testing::AddGlobalTestEnvironment(new LeakCheck);

}  // namespace

}  // namespace qvtest
