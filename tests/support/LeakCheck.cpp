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

// This program and the started processes that may have ended before their
// children (a daemon and what it started).
std::vector<qv::UniqueHandle> Descendants() {
    std::vector<qv::UniqueHandle> started = StartedProcesses();
    std::vector<HANDLE> roots = {GetCurrentProcess()};
    for (const qv::UniqueHandle& process : started) roots.push_back(process.Get());
    return RunningDescendants(roots);
}

class LeakCheck : public ::testing::Environment {
public:
    void TearDown() override {
        EndSharedDaemon();
        std::vector<qv::UniqueHandle> left;
        // A process told to end a moment ago may still be on its way out.
        WaitUntil([&] { return (left = Descendants()).empty(); }, 5000);
        for (const qv::UniqueHandle& process : left) {
            const ProcessFacts facts = FactsOf(process.Get());
            ADD_FAILURE() << "left running: " << facts.image << " pid " << facts.pid << " (parent " << facts.parent
                          << ")";
            EndProcess(process.Get(), 1, "left running at the end of the test program");
            WaitForSingleObject(process.Get(), 5000);
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
