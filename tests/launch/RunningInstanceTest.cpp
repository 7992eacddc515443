// The one-copy search of the daemon, against real processes with windows on
// desktops the tests create. Processes under a name of their own are copies
// made for one test: tests that run at the same time cannot disturb them.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Desktops.h"
#include "Entries.h"
#include "Handle.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Processes.h"
#include "RunningInstance.h"
#include "TestFiles.h"

namespace {

// Set for the copy of this program that searches for itself.
constexpr char kSelfSearchReport[] = "QV_SELF_SEARCH_REPORT";

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

class RunningInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { qv::BindProcessApi(qv::kProcessFunctions, true); }
    void TearDown() override { qv::BindProcessApi(qv::kProcessFunctions, false); }

    // A copy of a program under a name no other process has.
    std::string UniqueCopy(const std::string& source, const std::string& stem) {
        std::string path = dir.File((stem + std::to_string(GetCurrentProcessId()) + ".exe").c_str());
        EXPECT_TRUE(CopyFileA(source.c_str(), path.c_str(), FALSE)) << path;
        return path;
    }

    // Starts a command line on the test desktop; the guard ends it if the
    // test does not.
    void StartOnDesktop(const std::string& commandLine, qvtest::ProcessGuard& guard) {
        std::string line = commandLine;
        std::string desktopName = desktop.Name();
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.lpDesktop = desktopName.data();
        PROCESS_INFORMATION info = {};
        // Detached: the copy of this console program must not hold the test's
        // output, which ctest waits on.
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                                   &startup, &info))
            << line;
        qv::UniqueHandle process(info.hProcess);
        qv::UniqueHandle thread(info.hThread);
        guard.Hold(process.Get());
    }

    HWND FixtureWindow(const char* title) {
        return qvtest::FindWindowOn(desktop.Name(), "QVFixtureWindow", title, 10000);
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::TestDesktop desktop;
};

TEST_F(RunningInstanceTest, CopyWithAWindowOnAnotherDesktopIsFoundByFileNameAlone) {
    std::string report = dir.File("fixture.txt");
    auto entry = qvtest::FixtureEntry("Running", report, "--lifetime=30000");
    ASSERT_EQ(entry->Launch(desktop.Name().c_str()), 0);
    qvtest::ProcessGuard guard;
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(report) != 0; }, 10000));
    ASSERT_TRUE(guard.WatchReported(report));
    ASSERT_NE(FixtureWindow("Running"), nullptr);
    ASSERT_NE(desktop.Name(), qvtest::CurrentDesktopName());

    // Another folder, another letter case: only the file name counts.
    EXPECT_EQ(qv::FindRunningInstance("C:\\any\\QVFIXTURE.EXE"), 1);
    EXPECT_EQ(qv::FindRunningInstance("qvfixture.exe"), 1);
    // The folder's name is not the file's.
    EXPECT_EQ(qv::FindRunningInstance("C:\\QVFixture.exe\\QVNoSuchProgram.exe"), 0);
}

TEST_F(RunningInstanceTest, CopyCountsOnlyWhileItRunsAndNotWhenItIsTheSkippedProcess) {
    std::string copy = UniqueCopy(qvtest::FixturePath(), "QVSolo_");
    std::string pid = std::to_string(GetCurrentProcessId());
    std::string asked = "C:\\Elsewhere\\QVSOLO_" + pid + ".EXE";
    // 表 is 95 5C: a name cut at every 5C byte would end just after it and
    // match the copy.
    std::string sjisAsked = "C:\\Elsewhere\\\x95\x5CQVSolo_" + pid + ".exe";
    EXPECT_EQ(qv::FindRunningInstance(asked.c_str()), 0);

    qvtest::ProcessGuard guard;
    StartOnDesktop("\"" + copy + "\" --title=Solo --lifetime=30000", guard);
    ASSERT_NE(FixtureWindow("Solo"), nullptr);
    EXPECT_EQ(qv::FindRunningInstance(asked.c_str()), 1);
    EXPECT_EQ(qv::FindRunningInstance(copy.c_str()), 1);
    EXPECT_EQ(qv::FindRunningInstance(sjisAsked.c_str()), 0);
    EXPECT_EQ(qv::FindRunningInstance(asked.c_str(), guard.Pid()), 0);

    {
        qv::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, guard.Pid()));
        ASSERT_TRUE(process && qvtest::EndProcess(process.Get(), 0, "the copy ends, to be looked for again"));
    }
    ASSERT_TRUE(guard.WaitForEnd(10000));
    EXPECT_EQ(qv::FindRunningInstance(asked.c_str()), 0);
}

TEST_F(RunningInstanceTest, CallersOwnProcessIsIgnored) {
    // A copy of this program under its own name searches for itself (the
    // case below) from a window on the test desktop.
    std::string copy = UniqueCopy(OwnPath(), "QVSelf_");
    std::string report = dir.File("self.txt");
    SetEnvironmentVariableA(kSelfSearchReport, report.c_str());
    qvtest::ProcessGuard guard;
    StartOnDesktop("\"" + copy + "\" --gtest_filter=RunningInstanceSelf.SearchesForItsOwnName", guard);
    SetEnvironmentVariableA(kSelfSearchReport, nullptr);
    ASSERT_TRUE(guard.WaitForEnd(30000));
    // Its own window is seen when no process is skipped, and left out when
    // the caller's process is.
    EXPECT_EQ(qvtest::ReadBytes(report), "own=0 unskipped=1");
}

// Runs only inside the copy started above.
TEST(RunningInstanceSelf, SearchesForItsOwnName) {
    const char* report = std::getenv(kSelfSearchReport);
    if (!report || !*report) GTEST_SKIP() << "runs as the copy that RunningInstanceTest starts";
    qv::BindProcessApi(qv::kProcessFunctions, true);
    HWND window = CreateWindowExA(0, "STATIC", "self", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::string own = OwnPath();
    int result = qv::FindRunningInstance(own.c_str());
    int unskipped = qv::FindRunningInstance(own.c_str(), 0);
    DestroyWindow(window);
    qv::BindProcessApi(qv::kProcessFunctions, false);
    qvtest::WriteBytes(report, "own=" + std::to_string(result) + " unskipped=" + std::to_string(unskipped));
}

}  // namespace
