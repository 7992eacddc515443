// The asking end of the daemon's requests against stand-ins for its windows
// on a test desktop: which window a request reaches, what travels in it, and
// how a missing window, a window too slow to answer and an answer differ.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "CommandText.h"
#include "DaemonRequest.h"
#include "DesktopThread.h"
#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "Processes.h"

namespace {

using qv::DaemonWindow;
using qv::RequestOutcome;
using qv::RequestReply;
using qvtest::FakeDaemonWindows;

class DaemonRequest : public ::testing::Test {
protected:
    // fn on a thread attached to the test desktop; fails the test when it
    // cannot attach.
    void OnDesktop(const std::function<void()>& fn) { ASSERT_TRUE(qv::RunOnDesktop(desktop.Name().c_str(), fn)); }

    qvtest::TestDesktop desktop;
};

TEST_F(DaemonRequest, WithoutTheDaemonEveryRequestFindsNoWindow) {
    OnDesktop([] {
        RequestReply reply = qv::SendRequest(DaemonWindow::kThread, qv::kVersionRequest);
        EXPECT_EQ(reply.outcome, RequestOutcome::kNoWindow);
        EXPECT_EQ(reply.value, 0);
        EXPECT_EQ(qv::SendCommandText("N").outcome, RequestOutcome::kNoWindow);
        EXPECT_FALSE(qv::PostRequest(DaemonWindow::kMain, qv::kEndDaemonRequest));
        EXPECT_FALSE(qv::PostCommandText("N"));
    });
}

TEST_F(DaemonRequest, AnswerComesFromTheWindowAsked) {
    FakeDaemonWindows daemon(desktop.Name(), true);
    ASSERT_TRUE(daemon.Ready());
    OnDesktop([] {
        RequestReply version = qv::SendRequest(DaemonWindow::kThread, qv::kVersionRequest);
        EXPECT_EQ(version.outcome, RequestOutcome::kAnswered);
        EXPECT_EQ(version.value, static_cast<LRESULT>(qv::kDaemonVersion));
        EXPECT_TRUE(qv::SendRequest(DaemonWindow::kMain, qv::kEndDaemonRequest).Answered());
    });
    std::vector<FakeDaemonWindows::Received> received = daemon.Requests();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].className, qv::kThreadWindowClass);
    EXPECT_EQ(received[0].wParam, qv::kVersionRequest);
    EXPECT_EQ(received[1].className, qv::kMainWindowClass);
    EXPECT_EQ(received[1].wParam, qv::kEndDaemonRequest);
}

TEST_F(DaemonRequest, MainWindowIsMissingWhereOnlyAThreadWindowIs) {
    FakeDaemonWindows daemon(desktop.Name(), false);
    ASSERT_TRUE(daemon.Ready());
    OnDesktop([] {
        EXPECT_EQ(qv::SendRequest(DaemonWindow::kMain, qv::kEndDaemonRequest).outcome, RequestOutcome::kNoWindow);
        EXPECT_TRUE(qv::SendRequest(DaemonWindow::kThread, qv::kVersionRequest).Answered());
    });
    EXPECT_EQ(daemon.Requests().size(), 1u);
}

TEST_F(DaemonRequest, WindowTooSlowToAnswerIsNoAnswerWithinTheBound) {
    FakeDaemonWindows daemon(desktop.Name(), true, 4000);
    ASSERT_TRUE(daemon.Ready());
    OnDesktop([] {
        const DWORD start = GetTickCount();
        RequestReply reply = qv::SendRequest(DaemonWindow::kMain, qv::kEndDaemonRequest, 0, 500);
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_EQ(reply.outcome, RequestOutcome::kNoAnswer);
        EXPECT_EQ(reply.value, 0);
        EXPECT_LT(elapsed, 3000u) << "the bound, not the window, decides how long the caller waits";
    });
    EXPECT_EQ(daemon.Requests().size(), 1u) << "the window was reached";
}

TEST_F(DaemonRequest, CommandTextsTravelPackedToTheThreadWindow) {
    FakeDaemonWindows daemon(desktop.Name(), true);
    ASSERT_TRUE(daemon.Ready());
    OnDesktop([] {
        EXPECT_EQ(qv::SendCommandText("HN").value, 1);
        EXPECT_TRUE(qv::PostCommandText("+12"));
    });
    ASSERT_TRUE(qvtest::WaitUntil([&] { return daemon.Requests().size() == 2; }, 5000));
    std::vector<FakeDaemonWindows::Received> received = daemon.Requests();
    const char* texts[] = {"HN", "+12"};
    for (size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(received[i].className, qv::kThreadWindowClass) << texts[i];
        EXPECT_EQ(received[i].wParam, qv::kCommandTextRequest) << texts[i];
        EXPECT_EQ(static_cast<uint32_t>(received[i].lParam), qv::PackCommandText(texts[i])) << texts[i];
    }
}

TEST_F(DaemonRequest, WindowsAreFoundOnlyFromTheirOwnDesktop) {
    FakeDaemonWindows daemon(desktop.Name(), true);
    ASSERT_TRUE(daemon.Ready());
    // The calling thread stays on the desktop the test started on, which may
    // hold a real daemon while other tests run: only the stand-ins' requests count.
    qv::SendRequest(DaemonWindow::kThread, qv::kVersionRequest, 0, 1000);
    EXPECT_TRUE(daemon.Requests().empty());
    bool ran = false;
    EXPECT_FALSE(qv::RunOnDesktop("QVNoSuchDesktop", [&] { ran = true; }));
    EXPECT_FALSE(ran);
}

}  // namespace
