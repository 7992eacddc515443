// The task switch tool end to end: under a real daemon with the control bar
// it hangs windows on in batch, and its dialog brings a window of another
// desktop forward by switching the daemon there; without a daemon, or with
// one too old, it says so and ends.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BarWindows.h"
#include "CommandText.h"
#include "Daemon.h"
#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "Handle.h"
#include "PipeFormat.h"
#include "Processes.h"
#include "QVTaskSwitchRes.h"
#include "RemoteList.h"

namespace {

using qvtest::Daemon;

constexpr char kDialogCaption[] = "QVTaskSwitcher/ﾊﾝｸﾞｵﾝ";

std::string MessageOf(const std::string& desktop, const char* arguments, long* exitCode) {
    return qvtest::FirstMessageOf("QVTaskSwitch.exe", arguments, desktop, exitCode);
}

TEST(TaskSwitchStart, WithoutADaemonOnItsDesktopItSaysSoAndEnds) {
    qvtest::TestDesktop desktop;
    long exitCode = -2;
    EXPECT_EQ(MessageOf(desktop.Name(), "-A", &exitCode), "Quorvelが動いていません.");
    EXPECT_EQ(exitCode, 1);
}

TEST(TaskSwitchStart, ADaemonBelowVersion0x200IsRefused) {
    qvtest::TestDesktop desktop;
    qvtest::FakeDaemonWindows::Options options;
    options.version = 0x1FF;
    qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    long exitCode = -2;
    EXPECT_EQ(MessageOf(desktop.Name(), "-D", &exitCode), "このバージョンのQuorvelでは動作しません.");
    EXPECT_EQ(exitCode, 1);
}

TEST(TaskSwitchStart, HelpShowsTheUsageAndNothingElse) {
    // No daemon here: had the tool gone on, its next box would say so.
    qvtest::TestDesktop desktop;
    long exitCode = -2;
    const std::string text = MessageOf(desktop.Name(), "-A -h", &exitCode);
    EXPECT_EQ(text.rfind("Usage : QVTaskSwitch.exe [{-A|-D}] [-t wait]\r\n", 0), 0u) << text;
    EXPECT_EQ(exitCode, 0);
}

TEST(TaskSwitchStart, WithoutTheBarABatchSaysSoOncePerDesktopAndEnds) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard first, second;
    ASSERT_TRUE(qvtest::StartProgram(first, "QVFixture.exe", "--title=TsNoBarOne", desktop.Name()));
    ASSERT_TRUE(qvtest::StartProgram(second, "QVFixture.exe", "--title=TsNoBarTwo", desktop.Name()));
    ASSERT_TRUE(qvtest::FindWindowOn(desktop.Name(), nullptr, "TsNoBarOne", 10000));
    ASSERT_TRUE(qvtest::FindWindowOn(desktop.Name(), nullptr, "TsNoBarTwo", 10000));
    qvtest::FakeDaemonWindows::Options options;
    options.informationBytes =
        qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "Here", 0}}).Bytes();
    qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    long exitCode = -2;
    // Two windows, one message: the first failure ends the desktop's work (a
    // second box would keep the tool from ending).
    EXPECT_EQ(MessageOf(desktop.Name(), "-D", &exitCode), "QVControlBar は起動されていません.");
    EXPECT_EQ(exitCode, 0);
}

TEST(TaskSwitchDialog, ATitleOfControlCharactersShowsTheDesktopIdAndNoBarMeansNoHangOn) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard fixture;
    ASSERT_TRUE(qvtest::StartProgram(fixture, "QVFixture.exe", "--title=TsUntitled", desktop.Name()));
    ASSERT_TRUE(qvtest::FindWindowOn(desktop.Name(), nullptr, "TsUntitled", 10000));
    qvtest::FakeDaemonWindows::Options options;
    options.informationBytes =
        qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "\x01\t\x1F", 0}}).Bytes();
    qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());

    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", desktop.Name()));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), desktop.Name(), 30000);
    ASSERT_TRUE(dialog);
    qvtest::RemoteList rows(GetDlgItem(dialog.window, IDC_TS_LIST), tool.Pid());
    int found = -1;
    for (int row = 0; row < rows.Count(); ++row)
        if (rows.Text(row, 1) == "TsUntitled") found = row;
    ASSERT_GE(found, 0);
    EXPECT_EQ(rows.Text(found, 2), desktop.Name());
    ASSERT_TRUE(rows.Select(found));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog.window, IDOK)) != FALSE; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.window, IDC_TS_HANGON)));  // no bar was found at start
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
}

class TaskSwitchWithBar : public ::testing::Test {
protected:
    void SetUp() override {
        ids = bartest::SharedBarDesktops(&daemon);
        ASSERT_EQ(ids.size(), 3u);
    }
    HWND StartWindow(const std::string& desktop, const std::string& title, const std::string& extra = "") {
        return bartest::StartFixtureWindow(fixtures, desktop, title, extra);
    }
    long RunTool(const std::string& desktop, const char* arguments) {
        qvtest::ProcessGuard tool;
        if (!qvtest::StartProgram(tool, "QVTaskSwitch.exe", arguments, desktop)) return -2;
        return tool.WaitExit(60000);
    }
    void TearDown() override {
        fixtures.clear();  // their ends empty the hanger for the next case
        if (daemon) {
            EXPECT_TRUE(bartest::EveryHangerShows(ids, {}));
        }
    }

    Daemon* daemon = nullptr;
    std::vector<std::string> ids;
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> fixtures;
};

TEST_F(TaskSwitchWithBar, DashDHangsOnTheWindowsOfItsOwnDesktopOnly) {
    ASSERT_TRUE(StartWindow(ids[1], "TsHere"));
    ASSERT_TRUE(StartWindow(ids[2], "TsThere"));
    EXPECT_EQ(RunTool(ids[1], "-D"), 0);
    EXPECT_TRUE(bartest::EveryHangerShows(ids, {"TsHere"}));
}

TEST_F(TaskSwitchWithBar, DashAHangsOnTheWindowsOfEveryDesktopInTheirOrder) {
    // Desktop order, not the captions' (the hanger keeps the hang-on order).
    ASSERT_TRUE(StartWindow(ids[2], "TsAlpha"));
    ASSERT_TRUE(StartWindow(ids[1], "TsZulu"));
    EXPECT_EQ(RunTool(ids[0], "-D -A -t 100"), 0);
    EXPECT_TRUE(bartest::EveryHangerShows(ids, {"TsZulu", "TsAlpha"}));
}

TEST_F(TaskSwitchWithBar, ActivatingAWindowOfAnotherDesktopSwitchesTheDaemonThere) {
    ASSERT_TRUE(StartWindow(ids[2], "TsFarAway"));
    ASSERT_TRUE(qvtest::SendRequest(ids[0], qv::kSwitchToNumberRequest, static_cast<LPARAM>(qv::PackCommandText("1"))));
    ASSERT_EQ(qvtest::AskCurrentDesktopId(daemon->StartDesktop()), ids[0]);

    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog.caption, kDialogCaption);
    HWND list = GetDlgItem(dialog.window, IDC_TS_LIST);
    ASSERT_TRUE(list);
    qvtest::RemoteList rows(list, tool.Pid());
    int found = -1;
    for (int row = 0; row < rows.Count(); ++row) {
        if (rows.Text(row, 1) == "TsFarAway") {
            found = row;
            EXPECT_EQ(rows.Text(row, 0), "QVFIXTURE.EXE");  // upper-cased at start
        }
    }
    ASSERT_GE(found, 0);
    ASSERT_TRUE(rows.Select(found));
    // One selected window, the bar found at start: both buttons offered.
    EXPECT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog.window, IDOK)) != FALSE; }, 5000));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog.window, IDC_TS_HANGON)));
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return qvtest::AskCurrentDesktopId(daemon->StartDesktop()) == ids[2]; }, 10000));
}

TEST_F(TaskSwitchWithBar, AHeaderClickSortsByItsColumnAndASecondOneTurnsTheOrder) {
    ASSERT_TRUE(StartWindow(ids[1], "TsBravo"));
    ASSERT_TRUE(StartWindow(ids[2], "TsAlpha"));
    ASSERT_TRUE(StartWindow(ids[0], "TsCharlie"));
    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    qvtest::RemoteList rows(GetDlgItem(dialog.window, IDC_TS_LIST), tool.Pid());
    // Our windows in the order the list shows them.
    auto ours = [&] {
        std::vector<std::string> captions;
        for (int row = 0; row < rows.Count(); ++row) {
            std::string caption = rows.Text(row, 1);
            if (caption.rfind("Ts", 0) == 0) captions.push_back(caption);
        }
        return captions;
    };
    EXPECT_EQ(rows.Header(0), "ﾓｼﾞｭｰﾙ ▲");  // sorted by module at first
    EXPECT_EQ(rows.Header(1), "ｷｬﾌﾟｼｮﾝ");

    rows.ClickHeader(140 + 20);  // inside the caption column
    EXPECT_EQ(rows.Header(1), "ｷｬﾌﾟｼｮﾝ ▲");
    EXPECT_EQ(rows.Header(0), "ﾓｼﾞｭｰﾙ");
    EXPECT_EQ(ours(), (std::vector<std::string>{"TsAlpha", "TsBravo", "TsCharlie"}));
    rows.ClickHeader(140 + 20);
    EXPECT_EQ(rows.Header(1), "ｷｬﾌﾟｼｮﾝ ▼");
    EXPECT_EQ(ours(), (std::vector<std::string>{"TsCharlie", "TsBravo", "TsAlpha"}));

    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
}

TEST_F(TaskSwitchWithBar, HangOnHandsTheSelectedWindowsToTheBarInListOrderAndCloses) {
    ASSERT_TRUE(StartWindow(ids[1], "TsHangB"));
    ASSERT_TRUE(StartWindow(ids[2], "TsHangA"));
    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    qvtest::RemoteList rows(GetDlgItem(dialog.window, IDC_TS_LIST), tool.Pid());
    rows.ClickHeader(140 + 20);  // by caption: TsHangA comes first, against the desktops' order
    ASSERT_EQ(rows.Header(1), "ｷｬﾌﾟｼｮﾝ ▲");
    for (int row = 0; row < rows.Count(); ++row)
        if (rows.Text(row, 1).rfind("TsHang", 0) == 0) {
            ASSERT_TRUE(rows.Select(row));
        }
    ASSERT_EQ(rows.Selected(), 2);
    // Two selected: only hang-on is offered.
    EXPECT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog.window, IDC_TS_HANGON)) != FALSE; },
                                  5000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.window, IDOK)));
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_TS_HANGON, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
    EXPECT_TRUE(bartest::EveryHangerShows(ids, {"TsHangA", "TsHangB"}));
}

TEST_F(TaskSwitchWithBar, AnOwnedPopUpPickedWithTheMouseHangsOnItsOwner) {
    // The pick is followed up the parents: an owned pop-up's is its owner.
    ASSERT_TRUE(StartWindow(ids[0], "TsPicked", "--owned=1 --owned-popups"));
    HWND picked = qvtest::FindWindowOn(ids[0], nullptr, "TsPicked#owned0", 10000);
    ASSERT_TRUE(picked);
    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_TS_CAPTURE, BN_CLICKED), 0);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return IsIconic(dialog.window) != FALSE; }, 5000));
    // Every desktop lies on the one X screen: the window is raised above the
    // others before the click aims at it.
    qvtest::RunOnDesktop(ids[0], [&] {
        SetWindowPos(picked, HWND_TOPMOST, 300, 300, 200, 150, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Sleep(300);
        SetCursorPos(400, 375);
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, clicks, sizeof(INPUT));
    });
    EXPECT_EQ(tool.WaitExit(20000), 0);
    EXPECT_TRUE(bartest::EveryHangerShows(ids, {"TsPicked"}));
}

TEST_F(TaskSwitchWithBar, ACaptureCancelledOrInterruptedLeavesTheDialogOpenAndHangsNothingOn) {
    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    auto capture = [&] {
        PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_TS_CAPTURE, BN_CLICKED), 0);
        return qvtest::WaitUntil([&] { return IsIconic(dialog.window) != FALSE; }, 5000);
    };
    // The right button cancels: the dialog comes back, with nothing to say.
    ASSERT_TRUE(capture());
    PostMessageA(dialog.window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return !IsIconic(dialog.window); }, 5000));
    // A cancel-mode request takes the capture away while capturing: that is
    // an interruption, and the dialog says so.
    ASSERT_TRUE(capture());
    PostMessageA(dialog.window, WM_CANCELMODE, 0, 0);
    const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 10000, dialog.window);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, "割り込みを受けたため、ｷｬﾌﾟﾁｬを中止しました。");
    qvtest::PressDialog(box, IDOK);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return !IsIconic(dialog.window); }, 5000));
    // The system menu's about box.
    PostMessageA(dialog.window, WM_SYSCOMMAND, IDM_TS_ABOUT, 0);
    const qvtest::DaemonDialog about = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 10000, dialog.window);
    ASSERT_TRUE(about);
    EXPECT_EQ(about.caption, "QVTaskSwitchのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(about.text, "QVTaskSwitch Version 2.0");
    qvtest::PressDialog(about, IDOK);
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
}

// Sets the list options box of this bit through the options dialog.
bool ChooseOption(const std::string& desktop, HWND dialog, int bit, bool checked) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TS_OPTIONS, BN_CLICKED), 0);
    HWND options = qvtest::FindShownDialog(desktop, "一覧オプション", 10000);
    if (!options) return false;
    SendMessageTimeoutA(GetDlgItem(options, IDC_TS_OPTION_FIRST + bit), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                        0, SMTO_ABORTIFHUNG, 5000, nullptr);
    PostMessageA(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return qvtest::WaitUntil([&] { return !IsWindow(options); }, 10000);
}

TEST_F(TaskSwitchWithBar, AViewOnlyOptionDropsTheSelectionAndOffersNothingUntilItIsCleared) {
    ASSERT_TRUE(StartWindow(ids[1], "TsViewed"));
    qvtest::ProcessGuard tool;
    ASSERT_TRUE(qvtest::StartProgram(tool, "QVTaskSwitch.exe", "", ids[0]));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(tool.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    qvtest::RemoteList rows(GetDlgItem(dialog.window, IDC_TS_LIST), tool.Pid());
    HWND activate = GetDlgItem(dialog.window, IDOK);
    HWND hangOn = GetDlgItem(dialog.window, IDC_TS_HANGON);
    EXPECT_FALSE(IsWindowEnabled(activate));  // nothing selected yet
    ASSERT_GT(rows.Count(), 0);
    ASSERT_TRUE(rows.Select(0));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(activate) != FALSE; }, 5000));

    // Windows with empty captions too: for viewing only.
    ASSERT_TRUE(ChooseOption(ids[0], dialog.window, 1, true));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return !IsWindowEnabled(activate) && !IsWindowEnabled(hangOn); }, 5000));
    ASSERT_GT(rows.Count(), 0);
    rows.Select(0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return rows.Selected() == 0; }, 5000)) << "a selection is dropped at once";
    EXPECT_FALSE(IsWindowEnabled(activate));

    ASSERT_TRUE(ChooseOption(ids[0], dialog.window, 1, false));
    // The refill after the options dialog empties the list, and a selection
    // made before it with it: select until the selection outlives it.
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] { return rows.Select(0) && IsWindowEnabled(activate) && IsWindowEnabled(hangOn); }, 10000));

    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(tool.WaitExit(20000), 0);
}

}  // namespace
