// The bar on every desktop of a running daemon: its desktop buttons, the
// switches they ask for, a second bar, its menu and its two ends.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BarWindows.h"
#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace {

using bartest::WaitForBar;
using qvtest::Daemon;

constexpr char kStartCaption[] = "QVControlBar for Quorvel";

class ControlBar : public ::testing::Test {
protected:
    void SetUp() override {
        ids = bartest::SharedBarDesktops(&daemon);
        ASSERT_EQ(ids.size(), 3u);
    }
    std::string Current() const { return qvtest::AskCurrentDesktopId(daemon->StartDesktop()); }

    Daemon* daemon = nullptr;
    std::vector<std::string> ids;
};

TEST_F(ControlBar, EachBarHasAButtonPerDesktopItsOwnCheckedAndDisabled) {
    for (size_t own = 0; own < ids.size(); ++own) {
        const std::vector<bartest::Button> buttons = bartest::DesktopButtons(ids[own]);
        ASSERT_EQ(buttons.size(), 3u) << ids[own];
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i].caption, std::to_string(i + 1));
            EXPECT_EQ(buttons[i].checked, i == own) << "bar " << own << " button " << i;
            EXPECT_EQ(buttons[i].enabled, i != own) << "bar " << own << " button " << i;
        }
    }
}

TEST_F(ControlBar, DesktopAndPagingButtonsSwitchTheDaemon) {
    // From the bar of desktop number 1, as a user on that desktop would.
    const std::vector<bartest::Button> buttons = bartest::DesktopButtons(ids[1]);
    ASSERT_EQ(buttons.size(), 3u);
    ASSERT_TRUE(bartest::Click(ids[1], buttons[2].window));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Current() == ids[2]; }, 10000)) << Current();

    ASSERT_TRUE(bartest::Click(ids[2], bartest::BarButton(ids[2], "+1")));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Current() == ids[0]; }, 10000)) << Current();
    ASSERT_TRUE(bartest::Click(ids[0], bartest::BarButton(ids[0], "-1")));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Current() == ids[2]; }, 10000)) << Current();
    ASSERT_TRUE(bartest::Click(ids[2], bartest::BarButton(ids[2], "B")));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Current() == ids[0]; }, 10000)) << Current();
}

TEST_F(ControlBar, ASecondBarIsRefused) {
    qvtest::ProcessGuard second;
    ASSERT_TRUE(qvtest::StartProgram(second, "QVCtrlBar.exe", "", daemon->StartDesktop()));
    const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(second.Pid(), daemon->StartDesktop());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, kStartCaption);
    EXPECT_EQ(box.text, "制御ﾊﾞｰ起動ｴﾗｰ.\r\n制御ﾊﾞｰは、既に起動されています．");
    EXPECT_TRUE(qvtest::PressDialog(box, IDOK));
    EXPECT_EQ(second.WaitExit(10000), 1);
}

// The second knob, dragged right by a user, gives the hanger area what it
// takes from the switch area; a right click on it opens its scroll dialog.
TEST_F(ControlBar, TheSecondKnobTradesWidthBetweenTheAreas) {
    const std::string& desktop = ids[1];
    struct Widths {
        int hanger = 0, switches = 0;
    };
    auto widths = [&] {
        Widths w;
        qvtest::RunOnDesktop(desktop, [&] {
            HWND bar = bartest::BarHere();
            RECT r = {};
            GetWindowRect(FindWindowExA(bar, nullptr, qv::kBarThreadWindowClass, "Hanger"), &r);
            w.hanger = r.right - r.left;
            GetWindowRect(FindWindowExA(bar, nullptr, qv::kBarThreadWindowClass, "Switch"), &r);
            w.switches = r.right - r.left;
        });
        return w;
    };
    const Widths before = widths();
    ASSERT_GT(before.switches, 20);
    HWND knob = nullptr;
    qvtest::RunOnDesktop(desktop, [&] {
        HWND bar = bartest::BarHere();
        HWND first = FindWindowExA(bar, nullptr, "QVKnobButton", nullptr);
        knob = FindWindowExA(bar, first, "QVKnobButton", nullptr);
        PostMessageA(knob, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        PostMessageA(knob, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(21, 1));
        PostMessageA(knob, WM_LBUTTONUP, 0, MAKELPARAM(21, 1));
    });
    ASSERT_TRUE(knob);
    Widths after;
    EXPECT_TRUE(qvtest::WaitUntil([&] { return (after = widths()).switches != before.switches; }, 5000));
    EXPECT_EQ(after.switches, before.switches - 20);
    EXPECT_EQ(after.hanger, before.hanger + 20);

    qvtest::RunOnDesktop(desktop, [&] { PostMessageA(knob, WM_RBUTTONUP, 0, MAKELPARAM(1, 1)); });
    const qvtest::DaemonDialog scroll = qvtest::WaitForProcessDialog(bartest::BarProcess(desktop), desktop);
    ASSERT_TRUE(scroll);
    EXPECT_TRUE(qvtest::PressDialog(scroll, IDOK));
}

// The menu of the system button's right click, chosen by keyboard: the bar
// configurator beside the bar starts on the bar's desktop; the exit item
// asks first.
TEST_F(ControlBar, ConfigurationMenuStartsProgramsAndAsksBeforeTheEnd) {
    const std::string& desktop = ids[1];
    const DWORD bar = bartest::BarProcess(desktop);
    HWND system = bartest::BarButton(desktop, "QV");
    ASSERT_TRUE(system);
    auto choose = [&](int downs) {
        bool chosen = false;
        qvtest::RunOnDesktop(desktop, [&] {
            PostMessageA(system, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
            HWND menu = nullptr;
            if (!qvtest::WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); },
                                   5000))
                return;
            for (int i = 0; i < downs; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            chosen = true;
        });
        return chosen;
    };
    // "制御ﾊﾞｰ ｺﾝﾌｨｸﾞﾚｰｼｮﾝ(&B)...", the third item.
    ASSERT_TRUE(choose(3));
    HWND configurator = qvtest::FindShownDialog(desktop, "QVBarConfig", 20000);
    ASSERT_TRUE(configurator);
    if (GetDlgItem(configurator, 0xFFFF)) {
        // A box first: this bar's settings file is missing, and the defaults are offered.
        PostMessageA(configurator, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(configurator); }, 5000));
        configurator = qvtest::FindShownDialog(desktop, "QVBarConfig", 20000);
        ASSERT_TRUE(configurator);
    }
    qvtest::ProcessGuard started;
    ASSERT_TRUE(started.WatchWindowOwner(configurator));
    EXPECT_EQ(qvtest::ParentOf(started.Handle()), bar);
    // Nothing changed: it ends without a question.
    PostMessageA(configurator, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(started.WaitExit(10000), 0);
    qvtest::DaemonDialog box;
    // "制御ﾊﾞｰ だけの終了(&E)...", past the separator.
    ASSERT_TRUE(choose(4));
    box = qvtest::WaitForProcessDialog(bar, desktop);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "QVControlBar");
    EXPECT_EQ(box.text, "制御ﾊﾞｰ だけを終了しますか？");
    EXPECT_TRUE(qvtest::PressDialog(box, IDCANCEL));
    EXPECT_TRUE(WaitForBar(desktop, 0));
}

// Each case ends the bar, so each has a daemon of its own.
class ControlBarEnd : public ::testing::Test {
protected:
    void SetUp() override {
        qvtest::EndSharedDaemon();
        ASSERT_TRUE(daemon.StartReady(bartest::kBarController, {""}));
        ids = bartest::DesktopIds(daemon);
        ASSERT_EQ(ids.size(), 2u);
        ASSERT_TRUE(WaitForBar(ids[1]));
        bar.WatchWindowOwner(bartest::WaitForBar(ids[1], 10000));
        ASSERT_TRUE(bar.Running());
    }
    // Asks the bar of desktop 1 to end with the question of variant 1 or 2.
    qvtest::DaemonDialog AskToEnd(LPARAM variant) {
        qvtest::RunOnDesktop(ids[1], [&] {
            PostMessageA(bartest::BarHere(), qv::kRequestMessage, qv::kBarEndRequest, variant);
        });
        return qvtest::WaitForProcessDialog(bar.Pid(), ids[1]);
    }

    Daemon daemon;
    std::vector<std::string> ids;
    qvtest::ProcessGuard bar;
};

TEST_F(ControlBarEnd, TheDaemonsEndEndsTheBarWithoutAQuestion) {
    ASSERT_TRUE(daemon.Stop());
    EXPECT_EQ(bar.WaitExit(10000), 0);
    EXPECT_TRUE(daemon.WaitForLog("Sent QUIT to QVCtrlBar.\r\n", 0));
}

TEST_F(ControlBarEnd, EndingTheBarAloneLeavesTheDaemonRunning) {
    qvtest::DaemonDialog box = AskToEnd(1);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, "制御ﾊﾞｰ だけを終了しますか？");
    EXPECT_TRUE(qvtest::PressDialog(box, IDOK));
    EXPECT_EQ(bar.WaitExit(10000), 0);
    for (const std::string& id : ids) EXPECT_FALSE(WaitForBar(id, 0)) << id;
    EXPECT_TRUE(daemon.Running());
    EXPECT_EQ(qvtest::AskCurrentDesktopId(daemon.StartDesktop()), ids[0]);
}

TEST_F(ControlBarEnd, EndingBothEndsTheDaemonToo) {
    qvtest::DaemonDialog box = AskToEnd(2);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "QVControlBar");
    EXPECT_EQ(box.text, "Quorvel & 制御ﾊﾞｰ を終了しますか？");
    EXPECT_TRUE(qvtest::PressDialog(box, IDOK));
    EXPECT_EQ(bar.WaitExit(10000), 0);
    EXPECT_EQ(daemon.WaitExit(20000), 0);
}

}  // namespace
