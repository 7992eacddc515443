// QVRequest.exe against stand-ins for the daemon's windows on a test desktop:
// which window it asks, what it puts into the message, what it prints.

#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "Handle.h"
#include "Processes.h"
#include "Protocol.h"
#include "TestFiles.h"

namespace {

using qvtest::FakeDaemonWindows;
using Received = FakeDaemonWindows::Received;

struct ToolRun {
    DWORD exitCode;
    std::string output;
};

class QVRequestTest : public ::testing::Test {
protected:
    // Runs the tool on the test desktop, or on the named one, and collects
    // what it printed.
    ToolRun Run(const std::string& arguments, const std::string& startDesktop = "") {
        qvtest::ConsoleRun run = qvtest::RunConsoleProgram(
            "QVRequest.exe", arguments, startDesktop.empty() ? desktop.Name() : startDesktop, dir.Path(), 20000);
        EXPECT_NE(run.exitCode, ~0u) << "QVRequest did not end: " << arguments;
        return {run.exitCode, run.out + run.err};
    }

    qvtest::TempDir dir;
    qvtest::TestDesktop desktop;
};

TEST_F(QVRequestTest, ArgumentTravelsAsPackedTextOrNumberByRequest) {
    FakeDaemonWindows daemon(desktop.Name(), false);
    ASSERT_TRUE(daemon.Ready());
    struct Case {
        const char* arguments;
        WPARAM wParam;
        LPARAM lParam;
        const char* printed;
    };
    const Case cases[] = {
        {"--thread 0 NE", 0, 0x4E450000, "result=1 (0x1)"},
        {"--thread 1 3", 1, 0x33000000, "result=1 (0x1)"},
        {"--thread 2 12", 2, 0x31320000, "result=1 (0x1)"},
        {"--thread 8", 8, 0, "result=512 (0x200)"},
        {"--thread 10 -5", 10, -5, "result=1 (0x1)"},
        {"--thread 4 0x1234", 4, 0x1234, "result=1 (0x1)"},
        {"--thread --text 9 S", 9, 0x53000000, "result=1 (0x1)"},
        {"--thread --number 1 7", 1, 7, "result=1 (0x1)"},
    };
    for (const Case& c : cases) {
        ToolRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 0u) << c.arguments;
        EXPECT_NE(run.output.find(c.printed), std::string::npos) << c.arguments << ": " << run.output;
    }
    std::vector<Received> received = daemon.Requests();
    ASSERT_EQ(received.size(), std::size(cases));
    for (size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(received[i].className, qv::kThreadWindowClass) << cases[i].arguments;
        EXPECT_EQ(received[i].wParam, cases[i].wParam) << cases[i].arguments;
        EXPECT_EQ(received[i].lParam, cases[i].lParam) << cases[i].arguments;
    }
}

TEST_F(QVRequestTest, ExitRequestGoesToTheMainWindowAndNeedsOne) {
    {
        FakeDaemonWindows threadOnly(desktop.Name(), false);
        ASSERT_TRUE(threadOnly.Ready());
        EXPECT_EQ(Run("12").exitCode, 1u);
        EXPECT_TRUE(threadOnly.Requests().empty());
    }
    FakeDaemonWindows daemon(desktop.Name(), true);
    ASSERT_TRUE(daemon.Ready());
    EXPECT_EQ(Run("12").exitCode, 0u);
    std::vector<Received> received = daemon.Requests();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].className, qv::kMainWindowClass);
    EXPECT_EQ(received[0].wParam, qv::kEndDaemonRequest);
    EXPECT_EQ(received[0].lParam, 0);
}

TEST_F(QVRequestTest, WindowsOfAnotherDesktopAreReachedOnlyThroughDesktopOption) {
    FakeDaemonWindows daemon(desktop.Name(), false);
    ASSERT_TRUE(daemon.Ready());
    // Started on a desktop of its own: the logon desktop may hold a real
    // daemon's windows while other tests run.
    qvtest::TestDesktop elsewhere;
    EXPECT_EQ(Run("--thread 8", elsewhere.Name()).exitCode, 1u);
    ToolRun run = Run("--thread --desktop=" + desktop.Name() + " 8", elsewhere.Name());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find("result=512"), std::string::npos) << run.output;
    EXPECT_EQ(daemon.Requests().size(), 1u);
    EXPECT_EQ(Run("--thread --desktop=QVNoSuchDesktop 8", elsewhere.Name()).exitCode, 3u);
}

}  // namespace
