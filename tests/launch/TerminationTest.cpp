#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Entries.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Processes.h"
#include "TestFiles.h"

namespace {

using qvtest::ReportedPid;

class KillCheckTest : public ::testing::Test {
protected:
    void SetUp() override { qv::BindProcessApi(qv::kProcessFunctions, true); }
    void TearDown() override { qv::BindProcessApi(qv::kProcessFunctions, false); }

    // A held start of the fixture, its process watched by guard.
    std::unique_ptr<qv::Executant> Held(const char* name, const std::string& extra = "") {
        report = dir.File(name);
        auto entry = qvtest::FixtureEntry(name, report, extra);
        EXPECT_EQ(entry->LaunchHeld(), 0);
        qvtest::WaitUntil([&] { return ReportedPid(report) != 0; }, 10000);
        guard.WatchReported(report);
        EXPECT_TRUE(entry->heldProcess);
        return entry;
    }
    // "Kill Check (<file>) [H:<handle>,T:<thread>] : ", taken before the check clears them.
    static std::string CheckLine(const qv::Executant& entry) {
        char ids[40];
        std::snprintf(ids, sizeof(ids), " [H:%08X,T:%08X] : ",
                      static_cast<unsigned>(reinterpret_cast<uintptr_t>(entry.heldProcess.Get())),
                      static_cast<unsigned>(entry.heldThreadId));
        return "Kill Check (" + std::string(entry.FileName().c_str()) + ")" + ids;
    }
    DWORD Timed(qv::Executant& entry, int steps) {
        DWORD start = GetTickCount();
        EXPECT_EQ(entry.KillCheck(steps), 0);
        return GetTickCount() - start;
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::ProcessGuard guard;
    std::string report;
};

TEST_F(KillCheckTest, TerminateAloneEndsAtOnce) {
    auto entry = Held("t4.txt");
    std::string check = CheckLine(*entry);
    EXPECT_LT(Timed(*entry, qv::Executant::kTerminate), 400u);
    EXPECT_TRUE(guard.WaitForEnd(5000));
    EXPECT_FALSE(entry->heldProcess);
    EXPECT_EQ(entry->heldThreadId, 0u);
    EXPECT_EQ(log.Text().substr(log.Text().find("Kill Check")), qvtest::Crlf(check + "TerminateProcess()\n"));
}

TEST_F(KillCheckTest, FullLadderSpacesItsStepsAfterSuccessfulPosts) {
    auto entry = Held("t7.txt");
    std::string check = CheckLine(*entry);
    DWORD took = Timed(*entry, qv::Executant::kPostClose | qv::Executant::kPostQuit | qv::Executant::kTerminate);
    EXPECT_GE(took, 950u);
    EXPECT_LT(took, 2000u);
    EXPECT_TRUE(guard.WaitForEnd(5000));
    EXPECT_EQ(log.Text().substr(log.Text().find("Kill Check")),
              qvtest::Crlf(check + "Post(WM_CLOSE) Post(WM_QUIT) TerminateProcess()\n"));
    // The program saw both posts on its thread before it was ended.
    EXPECT_TRUE(qvtest::ReportHas(report, "THREAD WM_CLOSE"));
    EXPECT_TRUE(qvtest::ReportHas(report, "WM_QUIT"));
}

TEST_F(KillCheckTest, EmptyLadderOnlyLetsGo) {
    auto entry = Held("t0.txt");
    std::string check = CheckLine(*entry);
    EXPECT_LT(Timed(*entry, 0), 400u);
    EXPECT_FALSE(entry->heldProcess);
    Sleep(200);
    EXPECT_TRUE(guard.Running());
    EXPECT_EQ(log.Text().substr(log.Text().find("Kill Check")), qvtest::Crlf(check + "\n"));
}

TEST_F(KillCheckTest, EndedProgramIsOnlyNotedAndASecondCheckDoesNothing) {
    auto entry = Held("ended.txt");
    std::string check = CheckLine(*entry);
    qvtest::EndProcess(entry->heldProcess.Get(), 3, "the test ends the held program itself");
    WaitForSingleObject(entry->heldProcess.Get(), 5000);
    EXPECT_LT(Timed(*entry, 7), 400u);
    std::string after = log.Text();
    EXPECT_EQ(after.substr(after.find("Kill Check")), qvtest::Crlf(check + "Already End.\n"));
    EXPECT_EQ(entry->KillCheck(7), 0);
    EXPECT_EQ(log.Text(), after);
}

TEST_F(KillCheckTest, FailedPostSkipsTheWait) {
    auto entry = Held("dead.txt");
    entry->heldThreadId = 0xFFFFFFF0;  // no such thread: both posts fail
    EXPECT_LT(Timed(*entry, 7), 400u);
    EXPECT_TRUE(guard.WaitForEnd(5000));
}

}  // namespace
