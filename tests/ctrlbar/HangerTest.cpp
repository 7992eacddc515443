// The hanger: windows hung on from other programs get a button on every
// desktop's bar, leave with their program, bring their desktop back with a
// click, and keep the order a sort gives them.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BarWindows.h"
#include "CommandText.h"
#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"
#include "QVCtrlBarRes.h"

namespace {

using qvtest::Daemon;

class ControlBarHanger : public ::testing::Test {
protected:
    void SetUp() override {
        ids = bartest::SharedBarDesktops(&daemon);
        ASSERT_EQ(ids.size(), 3u);
    }

    HWND StartWindow(const std::string& desktop, const std::string& title, const std::string& extra = "") {
        return bartest::StartFixtureWindow(fixtures, desktop, title, extra);
    }
    // The hang-on request as another program sends it, to the main window:
    // its answer says whether the window was taken.
    LRESULT HangOn(HWND window) {
        LRESULT answer = -1;
        qvtest::RunOnDesktop(daemon->StartDesktop(), [&] {
            DWORD_PTR result = 0;
            HWND main = FindWindowA(qv::kBarMainWindowClass, qv::kBarWindowName);
            if (SendMessageTimeoutA(main, qv::kRequestMessage, qv::kBarHangWindowRequest, reinterpret_cast<LPARAM>(window),
                                    SMTO_ABORTIFHUNG, 15000, &result))
                answer = static_cast<LRESULT>(result);
        });
        return answer;
    }
    bool EveryBarShows(const std::vector<std::string>& captions) { return bartest::EveryHangerShows(ids, captions); }
    void TearDown() override {
        fixtures.clear();  // their ends empty the hanger for the next case
        if (daemon) {
            EXPECT_TRUE(EveryBarShows({}));
        }
    }

    Daemon* daemon = nullptr;
    std::vector<std::string> ids;
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> fixtures;
};

TEST_F(ControlBarHanger, AWindowHungOnFromAnotherProgramGetsOneButtonOnEveryBar) {
    HWND window = StartWindow(ids[1], "HungOne", "--hidden=1 --owned=1");
    ASSERT_TRUE(window);
    // Through a bar of another desktop, which hands it to the hanger.
    qvtest::RunOnDesktop(ids[2], [&] {
        PostMessageA(bartest::BarHere(), qv::kRequestMessage, qv::kBarHangWindowRequest,
                     reinterpret_cast<LPARAM>(window));
    });
    EXPECT_TRUE(EveryBarShows({"HungOne"}));
    EXPECT_EQ(HangOn(window), 1);  // hung on already: still one button
    EXPECT_TRUE(EveryBarShows({"HungOne"}));

    // Windows that cannot be hung on.
    EXPECT_EQ(HangOn(qvtest::FindWindowOn(ids[1], nullptr, "HungOne#hidden0", 5000)), 0);
    EXPECT_EQ(HangOn(qvtest::FindWindowOn(ids[1], nullptr, "HungOne#owned0", 5000)), 0);
    EXPECT_EQ(HangOn(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0))), 0);
    EXPECT_EQ(HangOn(bartest::BarButton(ids[1], "QV")), 0);  // a child window, and the bar's own
    EXPECT_TRUE(EveryBarShows({"HungOne"}));

    // Its program's end takes it off every bar.
    qvtest::RunOnDesktop(ids[1], [&] { PostMessageA(window, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(EveryBarShows({}));
    EXPECT_EQ(HangOn(window), 0);  // the window of a process that is gone
}

TEST_F(ControlBarHanger, AClickBringsBackTheWindowsDesktop) {
    HWND window = StartWindow(ids[2], "FarAway");
    ASSERT_TRUE(window);
    ASSERT_EQ(HangOn(window), 1);
    ASSERT_TRUE(EveryBarShows({"FarAway"}));
    ASSERT_TRUE(qvtest::SendRequest(ids[0], qv::kSwitchToNumberRequest, static_cast<LPARAM>(qv::PackCommandText("1"))));
    ASSERT_EQ(qvtest::AskCurrentDesktopId(daemon->StartDesktop()), ids[0]);

    ASSERT_TRUE(bartest::Click(ids[0], bartest::HangerButton(ids[0], 0)));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return qvtest::AskCurrentDesktopId(daemon->StartDesktop()) == ids[2]; }, 10000));
}

TEST_F(ControlBarHanger, SortingByHangOnNumberAscendingRestoresTheHangOnOrder) {
    for (const char* title : {"Beta", "Alpha", "Gamma"}) {
        HWND window = StartWindow(ids[1], title);
        ASSERT_TRUE(window) << title;
        ASSERT_EQ(HangOn(window), 1) << title;
    }
    ASSERT_TRUE(EveryBarShows({"Beta", "Alpha", "Gamma"}));
    const DWORD bar = bartest::BarProcess(ids[1]);
    // The sort dialog, from the right click on a hanger button: its second item.
    auto sort = [&](int key, int direction) {
        qvtest::RunOnDesktop(ids[1], [&] {
            PostMessageA(bartest::HangerButton(ids[1], 0), WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
            HWND menu = nullptr;
            if (!qvtest::WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); },
                                   5000))
                return;
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        });
        const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(bar, ids[1]);
        ASSERT_TRUE(dialog);
        qvtest::RunOnDesktop(ids[1], [&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(GetDlgItem(dialog.window, IDC_HANGER_SORT_KEYS), LB_SETCURSEL, key, 0, SMTO_ABORTIFHUNG, 5000, &result);
            SendMessageTimeoutA(GetDlgItem(dialog.window, direction), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        });
        EXPECT_TRUE(qvtest::PressDialog(dialog, IDOK));
    };
    sort(1, IDC_HANGER_ASCENDING);  // by caption, ascending
    EXPECT_TRUE(EveryBarShows({"Alpha", "Beta", "Gamma"}));
    sort(4, IDC_HANGER_DESCENDING);  // by hang-on number, descending
    EXPECT_TRUE(EveryBarShows({"Gamma", "Alpha", "Beta"}));
    sort(4, IDC_HANGER_ASCENDING);  // and ascending: the order they were hung on in
    EXPECT_TRUE(EveryBarShows({"Beta", "Alpha", "Gamma"}));
}

// The programs named by InitHangonModule are hung on when the bar starts:
// here the one the daemon starts on its second desktop before the bar.
TEST(ControlBarHangerAtStart, TheNamedProgramsWindowIsHungOnEveryBar) {
    Daemon daemon;
    const std::vector<std::string> ids = bartest::StartWithBar(
        daemon, bartest::BarSettings("FixPin\t1\nInitHangonModule\tQVFIXTURE.EXE\nInitHangonModule\tnone.exe\n"),
        {qvtest::FixtureEntryLines("--title=EarlyBird")});
    ASSERT_EQ(ids.size(), 2u);
    // The daemon leaves its desktops' programs running at its end; the test
    // ends what it had started.
    qvtest::ProcessGuard fixture;
    fixture.WatchWindowOwner(qvtest::FindWindowOn(ids[1], nullptr, "EarlyBird", 10000));
    ASSERT_TRUE(fixture.Running());
    EXPECT_TRUE(bartest::EveryHangerShows(ids, {"EarlyBird"}));
}

}  // namespace
