// The daemon's answers through the query pipe against askers that are not
// polite: one that asks and never reads, and two that ask at the same time.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandText.h"
#include "Daemon.h"
#include "PipeClient.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

// Snapshots at full size, no title, three desktops with long names, so that
// both replies are far larger than the pipe's buffers.
std::string Controller(int keepBitmapSize) {
    return "ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t" + std::to_string(keepBitmapSize) +
           "\nTitleDelay2\t0\nTitleDelay3\t0\n";
}
const std::vector<std::string> kDesktops = {"DesktopName\tA desktop with a name far longer than sixty-four bytes\n",
                                            "DesktopName\tAnother desktop whose name fills the pipe on its own\n"};

// Creates an instance of the pipe as an asker does, posts the question and
// then reads nothing, keeping the instance open until it goes.
class HostileAsker {
public:
    HostileAsker(const std::string& desktop, qv::PipeQuestion question) {
        const DWORD buffer = qv::PipeBufferSize(question);
        m_pipe = CreateNamedPipeA(qv::kQueryPipeName, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                  PIPE_UNLIMITED_INSTANCES, buffer, buffer, 10000, nullptr);
        m_posted = m_pipe != INVALID_HANDLE_VALUE &&
                   qvtest::PostRequest(desktop, static_cast<qv::DaemonRequest>(question), 0);
    }
    ~HostileAsker() {
        if (m_pipe != INVALID_HANDLE_VALUE) CloseHandle(m_pipe);
    }
    HostileAsker(const HostileAsker&) = delete;
    HostileAsker& operator=(const HostileAsker&) = delete;
    bool Posted() const { return m_posted; }

private:
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
    bool m_posted = false;
};

TEST(DaemonQueryPipe, AskerThatNeverReadsHoldsNoDesktopThreadForLong) {
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(Controller(1), kDesktops));
    const std::string home = daemon.StartDesktop();
    // Leaving home gives it a snapshot of the whole screen: 2.5 MB to send.
    ASSERT_EQ(qvtest::SendCommandText(home, "N"), 1);
    ASSERT_EQ(qvtest::AskCurrentDesktopId(home), "User_Desktop0");

    // The thread of home answers with its snapshot, the thread of the
    // current desktop with the Information; neither reply is read.
    HostileAsker bitmap(home, qv::PipeQuestion::kBitmap);
    HostileAsker information("User_Desktop0", qv::PipeQuestion::kInformation);
    ASSERT_TRUE(bitmap.Posted() && information.Posted());

    // The switch home needs both threads: the current one captures its
    // snapshot, home's activates it. Each gives up its answer first.
    const DWORD start = GetTickCount();
    EXPECT_EQ(qvtest::SendRequest("User_Desktop1", qv::kSwitchToNumberRequest, static_cast<LPARAM>(qv::PackCommandText("1")), 20000), 1);
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 12000u) << "the switch waited for the answers";
    EXPECT_EQ(qvtest::AskCurrentDesktopId("User_Desktop1"), home);
    EXPECT_TRUE(daemon.WaitForLog("Respons : DIB Bitmap Abandoned. Reason=", 10000)) << daemon.Log();
    // Wine takes a whole text reply into the pipe without a reader, the
    // 64-byte buffer notwithstanding: there only the snapshot has to wait.
    EXPECT_TRUE(daemon.WaitForLog("Respons : Information ", 10000)) << daemon.Log();

    // The desktops answer others again, and the daemon ends on request.
    qv::DesktopInformation info;
    EXPECT_EQ(qv::PipeClient("User_Desktop0").AskInformation(&info), qv::QueryResult::kOk);
    EXPECT_EQ(info.count, 3u);
    EXPECT_TRUE(daemon.Stop(20000));
    EXPECT_EQ(daemon.WaitExit(0), 0);
}

TEST(DaemonQueryPipe, TwoAskersAtOnceEachReadTheirOwnReplies) {
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(Controller(8), kDesktops));
    const std::string home = daemon.StartDesktop();
    // Home gets a snapshot of an eighth of the screen.
    ASSERT_EQ(qvtest::SendCommandText(home, "N"), 1);
    const int width = GetSystemMetrics(SM_CXSCREEN) / 8, height = GetSystemMetrics(SM_CYSCREEN) / 8;

    // Both ask home's thread window, from home, 200 times each.
    std::vector<std::string> reports = {daemon.Dir().File("asker1.txt"), daemon.Dir().File("asker2.txt")};
    std::vector<HANDLE> askers;
    for (const std::string& report : reports) {
        std::string line = "\"" + qvtest::ProgramFolder() + "QVAsker.exe\" \"" + report + "\" 200 3 " +
                           std::to_string(width) + " " + std::to_string(height);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hThread);
        askers.push_back(pi.hProcess);
    }
    for (size_t i = 0; i < askers.size(); ++i) {
        qvtest::ProcessGuard guard;
        guard.Hold(askers[i]);
        const bool ended = WaitForSingleObject(askers[i], 100000) == WAIT_OBJECT_0;
        DWORD code = 99;
        GetExitCodeProcess(askers[i], &code);
        CloseHandle(askers[i]);
        EXPECT_TRUE(ended);
        EXPECT_EQ(code, 0u) << qvtest::ReadBytes(reports[i]);
    }
}

}  // namespace
