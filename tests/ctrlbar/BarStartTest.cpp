// The bar's start when there is no daemon to serve, or one that answers
// what the bar cannot use: a clear message, exit code 1, in bounded time.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Daemon.h"
#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "PipeFormat.h"
#include "Processes.h"

namespace {

using qvtest::FakeDaemonWindows;

constexpr char kStartCaption[] = "QVControlBar for Quorvel";

// Starts the bar on the desktop and reads the message of its start; the
// bar must end with exit code 1 once it is acknowledged.
std::string StartMessage(const std::string& desktop) {
    qvtest::ProcessGuard bar;
    if (!qvtest::StartProgram(bar, "QVCtrlBar.exe", "", desktop)) return "<not started>";
    // Every question the bar asks is bounded well within this.
    const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(bar.Pid(), desktop, 40000);
    if (!box) return "<no message>";
    EXPECT_EQ(box.caption, kStartCaption);
    EXPECT_TRUE(qvtest::PressDialog(box, IDOK));
    EXPECT_EQ(bar.WaitExit(10000), 1);
    return box.text;
}

std::string Bytes(std::initializer_list<uint32_t> numbers, const std::string& tail = "") {
    std::string bytes;
    for (uint32_t n : numbers) bytes.append(reinterpret_cast<const char*>(&n), 4);
    return bytes + tail;
}

TEST(ControlBarStart, WithoutADaemonTheBarSaysSoAndEnds) {
    qvtest::TestDesktop desktop;
    EXPECT_EQ(StartMessage(desktop.Name()), "制御ﾊﾞｰ起動ｴﾗｰ.\r\nQuorvelは、動作していません．");
}

TEST(ControlBarStart, ADaemonOfAnOlderVersionIsRefused) {
    qvtest::TestDesktop desktop;
    FakeDaemonWindows::Options options;
    options.version = 511;
    FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    EXPECT_EQ(StartMessage(desktop.Name()), "このバージョンのQuorvelでは動作しません.");
}

TEST(ControlBarStart, AMalformedDesktopListIsACommunicationError) {
    qvtest::TestDesktop desktop;
    const std::string cases[] = {
        // Three desktops announced, one and a half sent.
        Bytes({3, 0, 4}, "Desk") + Bytes({800, 600, 1}, "D") + Bytes({5}, "De"),
        // A name longer than any reader keeps.
        Bytes({1, 0, 100000}, std::string(300, 'x')),
        // A count no ring of desktops reaches.
        Bytes({0x7FFFFFFF, 0}),
        // Nothing at all.
        std::string(),
    };
    for (const std::string& reply : cases) {
        FakeDaemonWindows::Options options;
        options.informationBytes = reply;
        FakeDaemonWindows daemon(desktop.Name(), options);
        ASSERT_TRUE(daemon.Ready());
        EXPECT_EQ(StartMessage(desktop.Name()), "プロセス間通信中にエラーが発生しました.") << reply.size();
    }
}

TEST(ControlBarStart, ADesktopListWithoutTheBarsOwnDesktopIsRefused) {
    qvtest::TestDesktop desktop;
    FakeDaemonWindows::Options options;
    options.informationBytes = qv::InformationReply(0, {qv::DesktopRecord{"Elsewhere", 800, 600, "Away", 0}}).Bytes();
    FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    EXPECT_EQ(StartMessage(desktop.Name()), "ホームデスクトップが見つかりません.");
}

TEST(ControlBarStart, UsageIsShownForHelpAndForAnUnreadableCommandLine) {
    qvtest::TestDesktop desktop;
    for (const char* arguments : {"-h", "/?", "-p \"unclosed"}) {
        qvtest::ProcessGuard bar;
        ASSERT_TRUE(qvtest::StartProgram(bar, "QVCtrlBar.exe", arguments, desktop.Name()));
        const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(bar.Pid(), desktop.Name());
        ASSERT_TRUE(box) << arguments;
        EXPECT_EQ(box.caption, kStartCaption);
        EXPECT_NE(box.text.find("\r\nUsage : \r\nQVControlBar.exe [-p ParamFile]\r\n\r\n"), std::string::npos);
        EXPECT_TRUE(qvtest::PressDialog(box, IDOK));
        EXPECT_EQ(bar.WaitExit(10000), 0) << arguments;
    }
}

}  // namespace
