// What the daemon does about its control bar: it starts it once its desktops
// are up, beside its own parameter file, and tells it to quit at its end.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Daemon.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

std::string Controller(bool bar) {
    return std::string("ExistsOpen\t0\nQVControlBar\t") + (bar ? "1" : "0") +
           "\nKeepBitmapSize\t0\nTitleDelay2\t0\nTitleDelay3\t0\n";
}

TEST(DaemonControlBar, BarStartsBesideTheParameterFileAndIsToldToQuitWithoutAQuestion) {
    Daemon daemon;
    ASSERT_TRUE(daemon.RunFromDir());
    daemon.CopyIn(qvtest::ProgramFolder() + "QVBarStandIn.exe", "QVCtrlBar.exe");
    const std::string report = daemon.Dir().File("bar-report.txt");
    ASSERT_TRUE(daemon.StartReady(Controller(true), {""}));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !qvtest::ReportLines(report).empty(); }, 10000));
    const std::string ini = daemon.Dir().File("QVCtrlBar.ini");
    EXPECT_EQ(qvtest::ReportLines(report).at(0), "START -p \"" + ini + "\"");
    EXPECT_TRUE(daemon.WaitForLog("Exec(\"" + daemon.Dir().File("QVCtrlBar.exe") + "\") -p \"" + ini + "\"\r\n", 0));

    ASSERT_TRUE(daemon.Stop());
    EXPECT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportHas(report, "EXIT"); }, 10000));
    EXPECT_EQ(qvtest::ReportLines(report), (std::vector<std::string>{"START -p \"" + ini + "\"", "REQUEST 7 0", "EXIT"}));
    EXPECT_TRUE(daemon.WaitForLog("Sent QUIT to QVCtrlBar.\r\n", 0));
}

TEST(DaemonControlBar, MissingBarIsReportedAndTheDaemonRunsWithoutIt) {
    Daemon daemon;
    ASSERT_TRUE(daemon.RunFromDir());
    daemon.WriteParameters(qvtest::ParameterText(daemon.LogPath(), Controller(true), {""}));
    ASSERT_TRUE(daemon.Start("-p \"" + daemon.ParameterPath() + "\""));
    qvtest::DaemonDialog box = daemon.WaitForStartDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "Error");
    // 制御ﾊﾞｰ 実行ﾓｼﾞｭｰﾙが見つかりません.
    EXPECT_EQ(box.text, "\x90\xA7\x8C\xE4\xCA\xDE\xB0 \x8E\xC0\x8D\x73\xD3\xBC\xDE\xAD\xB0\xD9\x82\xAA\x8C\xA9\x82\xC2"
                        "\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1.");
    EXPECT_TRUE(daemon.Press(box, IDOK));
    ASSERT_TRUE(daemon.WaitReady());
    EXPECT_EQ(daemon.Log().find("Exec("), std::string::npos);
    EXPECT_TRUE(daemon.Stop());
    EXPECT_EQ(daemon.WaitExit(0), 0);
}

TEST(DaemonControlBar, WithoutTheSettingNoBarIsStartedOrEnded) {
    Daemon daemon;
    ASSERT_TRUE(daemon.RunFromDir());
    daemon.CopyIn(qvtest::ProgramFolder() + "QVBarStandIn.exe", "QVCtrlBar.exe");
    const std::string report = daemon.Dir().File("bar-report.txt");
    // A bar that runs already, started by someone else, is left alone.
    std::string line = "\"" + daemon.Dir().File("QVCtrlBar.exe") + "\" running";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    qvtest::ProcessGuard bar;
    bar.Hold(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !qvtest::ReportLines(report).empty(); }, 10000));

    ASSERT_TRUE(daemon.StartReady(Controller(false), {""}));
    ASSERT_TRUE(daemon.Stop());
    EXPECT_EQ(daemon.Log().find("Exec("), std::string::npos);
    EXPECT_EQ(daemon.Log().find("Sent QUIT"), std::string::npos);
    EXPECT_EQ(qvtest::ReportLines(report), std::vector<std::string>{"START running"});
    EXPECT_TRUE(bar.Running());
}

}  // namespace
