#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Desktops.h"
#include "Entries.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Processes.h"
#include "TestFiles.h"

namespace {

using qvtest::FixtureEntry;
using qvtest::ReportedPid;

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override { qv::BindProcessApi(qv::kProcessFunctions | qv::kImeFunction, true); }
    void TearDown() override { qv::BindProcessApi(qv::kProcessFunctions | qv::kImeFunction, false); }

    std::string Report(const char* name) { return dir.File(name); }
    // Waits until the fixture reported its start and takes charge of ending it.
    DWORD Started(const std::string& report, qvtest::ProcessGuard& guard) {
        qvtest::WaitUntil([&] { return ReportedPid(report) != 0; }, 10000);
        guard.WatchReported(report);
        return ReportedPid(report);
    }

    // Launch on the test desktop, from a thread there as on a daemon's desktop
    // thread; took receives how long it took, in ms. False when the thread
    // could not attach.
    bool TimedLaunch(qv::Executant& entry, DWORD* took) {
        return qvtest::RunOnDesktop(desktop.Name(), [&] {
            const DWORD start = GetTickCount();
            EXPECT_EQ(entry.Launch(desktop.Name().c_str()), 0);
            *took = GetTickCount() - start;
        });
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::TestDesktop desktop;
};

TEST_F(LaunchTest, StartsOnTheNamedDesktopAndPlacesTheWindow) {
    std::string report = Report("placed.txt");
    auto entry = FixtureEntry("Placed", report);
    entry->Properties().Update("ExecutionPosition", "50,60", false);
    entry->Properties().Update("ExecutionSize", "300,200", false);
    entry->Apply();
    ASSERT_TRUE(entry->positionSet && entry->sizeSet);

    RECT rect = {};
    bool zoomed = true;
    ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] {
        // The search for the window runs on the launching thread's desktop, as
        // on a daemon's desktop thread.
        EXPECT_EQ(entry->Launch(desktop.Name().c_str()), 0);
        HWND window = FindWindowA("QVFixtureWindow", "Placed");
        ASSERT_NE(window, nullptr);
        // Placed asynchronously, by the window's own thread.
        qvtest::WaitUntil([&] {
            GetWindowRect(window, &rect);
            return rect.left == 50 && rect.top == 60 && rect.right - rect.left == 300 && rect.bottom - rect.top == 200;
        }, 5000);
        zoomed = IsZoomed(window) != FALSE;
    }));
    qvtest::ProcessGuard guard;
    Started(report, guard);
    const std::string start = qvtest::ReportLines(report).at(0);
    EXPECT_EQ(start.substr(start.find(" desktop=")), " desktop=" + desktop.Name());
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);
    EXPECT_FALSE(zoomed);
    std::string line = "CreatePrcess(" + std::string(entry->FileName().c_str()) + " " + entry->Arguments() +
                       ") Success.\n";
    EXPECT_EQ(log.Text(), qvtest::Crlf(line));
}

TEST_F(LaunchTest, ShowModeThreeMaximisesTheFoundWindow) {
    std::string report = Report("max.txt");
    auto entry = FixtureEntry("Maxed", report);
    entry->Properties().Update("ExecutionPosition", "10,10", false);
    entry->Properties().Update("ExecutionShowMode", "3", false);
    entry->Apply();
    bool zoomed = false;
    ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] {
        EXPECT_EQ(entry->Launch(desktop.Name().c_str()), 0);
        HWND window = FindWindowA("QVFixtureWindow", "Maxed");
        ASSERT_NE(window, nullptr);
        zoomed = qvtest::WaitUntil([&] { return IsZoomed(window) != FALSE; }, 5000);
    }));
    qvtest::ProcessGuard guard;
    Started(report, guard);
    EXPECT_TRUE(zoomed);
}

TEST_F(LaunchTest, NoTimeoutStartsWithoutWaitingOrPlacing) {
    // 0 is no wait; a negative time-out, which the file keeps as it is, is no
    // wait either, never an endless one.
    for (const char* timeout : {"0", "-1"}) {
        const std::string title = std::string("NoWait") + timeout;
        std::string report = Report((title + ".txt").c_str());
        auto entry = FixtureEntry(title.c_str(), report, "--idle-delay=1500");
        entry->Properties().Update("ExecutionPosition", "70,80", false);
        entry->Properties().Update("ExecutionInputTO", timeout, false);
        entry->Apply();
        DWORD took = 0;
        ASSERT_TRUE(TimedLaunch(*entry, &took));
        qvtest::ProcessGuard guard;
        Started(report, guard);
        EXPECT_LT(took, 1000u) << timeout;  // the fixture stays busy for 1500 ms
        HWND window = qvtest::FindWindowOn(desktop.Name(), "QVFixtureWindow", title.c_str(), 10000);
        ASSERT_NE(window, nullptr);
        Sleep(300);
        RECT rect = {};
        qvtest::RunOnDesktop(desktop.Name(), [&] { GetWindowRect(window, &rect); });
        // Only the startup information placed it; nothing moved it afterwards.
        EXPECT_EQ(rect.left, 70) << timeout;
        EXPECT_EQ(rect.top, 80) << timeout;
    }
}

TEST_F(LaunchTest, WindowSearchRoundsFollowTheTimeout) {
    // A program that never shows a window: the search runs all its rounds.
    struct {
        const char* timeout;
        DWORD atLeast;
        DWORD below;
    } cases[] = {{"1500", 0, 900}, {"5000", 3800, 6500}};
    for (const auto& c : cases) {
        std::string report = Report(c.timeout);
        auto entry = FixtureEntry("Hidden", report, "--no-window");
        entry->Properties().Update("ExecutionSize", "100,100", false);
        entry->Properties().Update("ExecutionInputTO", c.timeout, false);
        entry->Apply();
        DWORD took = 0;
        ASSERT_TRUE(TimedLaunch(*entry, &took));
        qvtest::ProcessGuard guard;
        Started(report, guard);
        EXPECT_GE(took, c.atLeast) << c.timeout;
        EXPECT_LT(took, c.below) << c.timeout;
    }
}

TEST_F(LaunchTest, IdleTimeoutIsLoggedAndTheProgramLeftRunning) {
    std::string report = Report("slow.txt");
    auto entry = FixtureEntry("Slow", report, "--idle-delay=4000");
    entry->Properties().Update("ExecutionInputTO", "1000", false);
    entry->Apply();
    EXPECT_EQ(entry->LaunchHeld(), 0);
    qvtest::ProcessGuard guard;
    Started(report, guard);
    EXPECT_FALSE(entry->heldProcess);  // a start that timed out keeps nothing
    EXPECT_TRUE(guard.Running());
    std::string expected = "CreatePrcess(" + std::string(entry->FileName().c_str()) + " " + entry->Arguments() +
                           ") Success.\n(" + entry->FileName().c_str() + ")\x82\xCD\x8B" "N\x93\xAE\x8A\xAE\x97\xB9\x91\xD2" +
                           "\xC0\xB2\xD1\xB1\xB3\xC4(1000 s).\n";
    EXPECT_EQ(log.Text(), qvtest::Crlf(expected));
}

TEST_F(LaunchTest, PriorityClassAndThreadPriorityReachTheProcess) {
    const bool classes = qvtest::SystemAppliesCreationPriorityClass();
    if (!classes) std::printf("note: this system ignores creation priority classes; checking thread priorities only\n");
    struct {
        const char* priority;
        DWORD priorityClass;
        int threadPriority;
    } cases[] = {{"0x0010", IDLE_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL},
                 {"52", NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_ABOVE_NORMAL},
                 {"0x0031", HIGH_PRIORITY_CLASS, THREAD_PRIORITY_LOWEST},
                 {"0x0025", NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_HIGHEST}};
    for (const auto& c : cases) {
        std::string report = Report(c.priority);
        auto entry = FixtureEntry("Prio", report);
        entry->Properties().Update("ExecutionPriority", c.priority, false);
        entry->Apply();
        ASSERT_EQ(entry->LaunchHeld(), 0);
        qvtest::ProcessGuard guard;
        Started(report, guard);
        ASSERT_TRUE(entry->heldProcess) << c.priority;
        if (classes) {
            EXPECT_EQ(GetPriorityClass(entry->heldProcess.Get()), c.priorityClass) << c.priority;
        }
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry->heldThreadId);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(GetThreadPriority(thread), c.threadPriority) << c.priority;
        CloseHandle(thread);
    }
}

TEST_F(LaunchTest, InputMethodIsSwitchedOffOnlyWhereItsFunctionIsBound) {
    for (bool bound : {true, false}) {
        if (!bound) qv::BindProcessApi(qv::kImeFunction, false);  // as in the control bar
        std::string report = Report(bound ? "ime1.txt" : "ime0.txt");
        auto entry = FixtureEntry("Ime", report);
        entry->Properties().Update("ExecutionDisableIME", "1", false);
        EXPECT_EQ(entry->LaunchHeld(), 0);
        qvtest::ProcessGuard guard;
        Started(report, guard);
        std::string started = "CreatePrcess(" + std::string(entry->FileName().c_str()) + " " + entry->Arguments() +
                              ") Success.\n";
        EXPECT_NE(log.Text().find(qvtest::Crlf(started + (bound ? "IME Disable OK.\n" : ""))), std::string::npos);
        entry->KillCheck(qv::Executant::kTerminate);
    }
    // Only the start with the function bound wrote the line.
    const std::string text = log.Text();
    EXPECT_EQ(text.find("IME Disable OK."), text.rfind("IME Disable OK."));
}

TEST_F(LaunchTest, ProgramWithoutMessageQueueCannotBeWaitedFor) {
    // A console program has no input to go idle on: the wait fails at once.
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", "cmd.exe"}, {"ExecutionArguments", "/c exit 0"}});
    EXPECT_EQ(entry->Launch(nullptr), 0);
    std::string text = log.Text();
    const std::string tail = "(cmd.exe)\x82\xCDProcess\xCA\xDD\xC4\xDE\xD9\x82\xAA\x8A" "l\x93\xBE\x82\xC5\x82\xAB"
                             "\x82\xDC\x82\xB9\x82\xF1.\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.rfind("CreatePrcess(cmd.exe /c exit 0) Success.\r\n", 0), 0u);
}

TEST_F(LaunchTest, FailedStartIsLoggedAndReported) {
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", dir.File("missing.exe")}, {"ExecutionArguments", "-a"}});
    EXPECT_EQ(entry->Launch(desktop.Name().c_str()), -1);
    EXPECT_EQ(log.Text(), qvtest::Crlf("CreateProcess(" + std::string(entry->FileName().c_str()) + " -a) Failed.\n"));
}

TEST_F(LaunchTest, OverlongCommandLineIsRefusedNotCut) {
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", qvtest::FixturePath()}});
    entry->Properties().Update("ExecutionArguments", std::string(40000, 'x').c_str(), true);
    EXPECT_EQ(entry->Launch(nullptr), -1);
    EXPECT_EQ(log.Text().find("CreatePrcess"), std::string::npos);
    EXPECT_EQ(log.Text().rfind("CommandLine Too Long.", 0), 0u) << log.Text().substr(0, 80);
}

}  // namespace
