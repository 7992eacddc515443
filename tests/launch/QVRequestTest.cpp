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
        std::string outputPath = dir.File(("out" + std::to_string(m_runs++) + ".txt").c_str());
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        qv::UniqueHandle output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(output);
        std::string line = "\"" + qvtest::ProgramFolder() + "QVRequest.exe\" " + arguments;
        std::string desktopName = startDesktop.empty() ? desktop.Name() : startDesktop;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.lpDesktop = desktopName.data();
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &info)) {
            ADD_FAILURE() << "cannot start " << line;
            return {~0u, ""};
        }
        qv::UniqueHandle process(info.hProcess);
        qv::UniqueHandle thread(info.hThread);
        DWORD exitCode = ~0u;
        if (WaitForSingleObject(process.Get(), 20000) != WAIT_OBJECT_0) {
            qvtest::EndProcess(process.Get(), 1, "QVRequest did not end in time");
            WaitForSingleObject(process.Get(), 5000);
            ADD_FAILURE() << "QVRequest did not end: " << arguments;
        } else {
            GetExitCodeProcess(process.Get(), &exitCode);
        }
        output.Reset();
        return {exitCode, qvtest::ReadBytes(outputPath)};
    }

    qvtest::TempDir dir;
    qvtest::TestDesktop desktop;
    int m_runs = 0;
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
