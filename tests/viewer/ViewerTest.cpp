// The viewer end to end: under a real daemon it opens a window per desktop,
// draws the windows of a desktop never visited as rectangles and the
// snapshot of one that was, and switches the daemon to a desktop or to one of
// its windows; against stand-ins of the daemon it says why it cannot start.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BarWindows.h"
#include "CommandText.h"
#include "Daemon.h"
#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "PipeFormat.h"
#include "Processes.h"
#include "QVViewerRes.h"
#include "RemoteList.h"
#include "RunningViewer.h"
#include "Viewer.h"

namespace {

using qvtest::Daemon;

constexpr COLORREF kSchematic = 0x00B2FF00;
constexpr COLORREF kRed = 0x000000FF;

// A running viewer, and what its desktop windows show on the screen.
class Viewer : public qvtest::RunningViewer {
public:
    // The colour on the screen at this point of the desktop window's picture.
    COLORREF PictureAt(HWND child, double xFraction, double yFraction) const {
        RECT picture{};
        GetWindowRect(GetDlgItem(child, ID_VW_TASKSWITCH), &picture);
        const int x = picture.left + static_cast<int>((picture.right - picture.left) * xFraction);
        const int y = picture.top + static_cast<int>((picture.bottom - picture.top) * yFraction);
        return ScreenAt(Desktop(), x, y);
    }
    // Pictures are painted after they are shown, and the windows placed
    // after they are made: waits until the point shows the colour.
    bool Shows(HWND child, double xFraction, double yFraction, COLORREF colour) const {
        COLORREF seen = CLR_INVALID;
        if (qvtest::WaitUntil([&] { return (seen = PictureAt(child, xFraction, yFraction)) == colour; }, 10000))
            return true;
        std::printf("at (%.2f, %.2f): %06lX, not %06lX\n", xFraction, yFraction, seen, colour);
        return false;
    }
    static COLORREF ScreenAt(const std::string& desktop, int x, int y) {
        COLORREF colour = CLR_INVALID;
        qvtest::RunOnDesktop(desktop, [&] {
            HDC screen = GetDC(nullptr);
            colour = GetPixel(screen, x, y);
            ReleaseDC(nullptr, screen);
        });
        return colour;
    }
    void Activate(HWND child) const {
        SendMessageTimeoutA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0, SMTO_ABORTIFHUNG, 5000,
                            nullptr);
    }
};

class ViewerWithDaemon : public ::testing::Test {
protected:
    void SetUp() override {
        daemon = &qvtest::SharedDaemon(
            // Snapshots at a quarter of the screen's size: a schematic still
            // places the windows by the screen's.
            "ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t4\nTitleDelay2\t0\nTitleDelay3\t0\n",
            {"DesktopName\tVwTwo", "DesktopName\tVwThree"});
        ASSERT_TRUE(daemon->Running());
        ids = bartest::DesktopIds(*daemon);
        ASSERT_EQ(ids.size(), 3u);
        ASSERT_TRUE(SwitchTo(1));
    }
    bool SwitchTo(int number) {
        qvtest::SendRequest(ids[0], qv::kSwitchToNumberRequest,
                            static_cast<LPARAM>(qv::PackCommandText(std::to_string(number).c_str())));
        return qvtest::WaitUntil([&] { return qvtest::AskCurrentDesktopId(ids[0]) == ids[number - 1]; }, 10000);
    }
    // A fixture window over the middle half of the screen, in a colour of
    // its own.
    HWND StartWindow(const std::string& desktop, const std::string& title) {
        HWND window = bartest::StartFixtureWindow(fixtures, desktop, title, "--color=0x0000FF");
        if (!window) return nullptr;
        qvtest::RunOnDesktop(desktop, [&] {
            const int width = GetSystemMetrics(SM_CXSCREEN);
            const int height = GetSystemMetrics(SM_CYSCREEN);
            SetWindowPos(window, nullptr, width / 4, height / 4, width / 2, height / 2, SWP_NOZORDER | SWP_NOACTIVATE);
        });
        return window;
    }

    Daemon* daemon = nullptr;
    std::vector<std::string> ids;
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> fixtures;
};

TEST_F(ViewerWithDaemon, EachDesktopHasAWindowAndANeverVisitedOneShowsItsWindowsAsRectangles) {
    ASSERT_TRUE(StartWindow(ids[2], "VwFar"));
    Viewer viewer;
    ASSERT_TRUE(viewer.Start(ids[0]));
    ASSERT_TRUE(viewer.WaitDrawn(3));
    // The daemon's home desktop comes first; the other two by their names.
    for (const char* title : {"VwTwo", "VwThree"}) EXPECT_TRUE(viewer.Child(title)) << title;

    // The window covers the middle of its screen: the middle of the picture
    // is a rectangle, its corner the desktop's background.
    HWND distant = viewer.Child("VwThree");
    EXPECT_TRUE(viewer.Shows(distant, 0.5, 0.5, kSchematic));
    EXPECT_TRUE(viewer.Shows(distant, 0.1, 0.1, GetSysColor(COLOR_BACKGROUND)));
    // Nothing else is on that desktop: the rectangle ends where the window does.
    EXPECT_TRUE(viewer.Shows(distant, 0.8, 0.5, GetSysColor(COLOR_BACKGROUND)));

    viewer.Command(ID_VW_EXIT);
    EXPECT_EQ(viewer.WaitExit(), 0);
}

TEST_F(ViewerWithDaemon, ADesktopVisitedBeforeShowsItsSnapshot) {
    ASSERT_TRUE(StartWindow(ids[1], "VwNear"));
    ASSERT_TRUE(SwitchTo(2));
    // The snapshot is taken as the desktop is left: once its window shows.
    const int middleX = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int middleY = GetSystemMetrics(SM_CYSCREEN) / 2;
    ASSERT_TRUE(qvtest::WaitUntil([&] { return Viewer::ScreenAt(ids[1], middleX, middleY) == kRed; }, 10000));
    ASSERT_TRUE(SwitchTo(1));

    Viewer viewer;
    ASSERT_TRUE(viewer.Start(ids[0]));
    ASSERT_TRUE(viewer.WaitDrawn(3));
    HWND visited = viewer.Child("VwTwo");
    EXPECT_TRUE(viewer.Shows(visited, 0.5, 0.5, kRed)) << "the snapshot, not the schematic";
    // Without the bitmap the window is a rectangle in the middle again, at
    // the screen's scale, not the snapshot's.
    viewer.Activate(visited);
    viewer.Command(ID_VW_SHOW_BITMAP);
    EXPECT_TRUE(viewer.Shows(visited, 0.5, 0.5, kSchematic));
    EXPECT_TRUE(viewer.Shows(visited, 0.8, 0.5, GetSysColor(COLOR_BACKGROUND)));
    viewer.Command(ID_VW_EXIT);
    EXPECT_EQ(viewer.WaitExit(), 0);
}

TEST_F(ViewerWithDaemon, SwitchingAndEndingOnTheSecondDesktopSwitchesThereAndEnds) {
    Viewer viewer;
    ASSERT_TRUE(viewer.Start(ids[0]));
    ASSERT_TRUE(viewer.WaitDrawn(3));
    HWND second = viewer.Child("VwTwo");
    ASSERT_TRUE(second);
    viewer.Activate(second);
    viewer.Command(ID_VW_SWITCH_AND_END);
    EXPECT_EQ(viewer.WaitExit(), 0);
    EXPECT_EQ(qvtest::AskCurrentDesktopId(ids[0]), ids[1]);
}

TEST_F(ViewerWithDaemon, AClickOnAPictureListsItsWindowsAndActivatingOneSwitchesToIt) {
    ASSERT_TRUE(StartWindow(ids[1], "VwPicked"));
    Viewer viewer;
    ASSERT_TRUE(viewer.Start(ids[0]));
    ASSERT_TRUE(viewer.WaitDrawn(3));
    HWND second = viewer.Child("VwTwo");
    HWND picture = GetDlgItem(second, ID_VW_TASKSWITCH);
    PostMessageA(second, WM_COMMAND, MAKEWPARAM(ID_VW_TASKSWITCH, BN_CLICKED), reinterpret_cast<LPARAM>(picture));
    const qvtest::DaemonDialog dialog = qvtest::WaitForProcessDialog(viewer.Pid(), ids[0], 30000);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog.caption, "ﾀｽｸ切替 : VwTwo");
    qvtest::RemoteList rows(GetDlgItem(dialog.window, IDC_VW_LIST), viewer.Pid());
    EXPECT_EQ(rows.Header(0), "ｷｬﾌﾟｼｮﾝ ▲");
    int found = -1;
    for (int row = 0; row < rows.Count(); ++row)
        if (rows.Text(row, 0) == "VwPicked") found = row;
    ASSERT_GE(found, 0);
    EXPECT_EQ(rows.Text(found, 1), "QVFixture.exe");
    ASSERT_TRUE(rows.Select(found));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog.window, IDOK)) != FALSE; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.window, IDC_VW_HANGON))) << "no bar runs";
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(viewer.WaitExit(), 0);
    EXPECT_EQ(qvtest::AskCurrentDesktopId(ids[0]), ids[1]);
}

RECT ClientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

RECT PlaceOf(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return place;
}

TEST_F(ViewerWithDaemon, TheMenusOpenResizeAndArrangeTheDesktopWindows) {
    Viewer viewer;
    ASSERT_TRUE(viewer.Start(ids[0]));
    ASSERT_TRUE(viewer.WaitDrawn(3));
    HWND third = viewer.Child("VwThree");
    ASSERT_TRUE(third);
    const RECT tiled = PlaceOf(third);

    // A closed desktop is the only one the open dialog offers.
    SendMessageTimeoutA(GetParent(third), WM_MDIDESTROY, reinterpret_cast<WPARAM>(third), 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    ASSERT_TRUE(viewer.WaitDrawn(2));
    viewer.Command(ID_VW_OPEN);
    const qvtest::DaemonDialog open = qvtest::WaitForProcessDialog(viewer.Pid(), ids[0], 10000);
    ASSERT_TRUE(open);
    EXPECT_EQ(open.caption, "ﾃﾞｽｸﾄｯﾌﾟを開く");
    EXPECT_EQ(SendMessageA(GetDlgItem(open.window, IDC_VW_DESKTOPS), CB_GETCOUNT, 0, 0), 1);
    qvtest::PressDialog(open, IDOK);
    ASSERT_TRUE(viewer.WaitDrawn(3));
    third = viewer.Child("VwThree");
    ASSERT_TRUE(third);

    // The original size: the client area of a desktop never visited is its
    // screen's size.
    viewer.Activate(third);
    viewer.Command(ID_VW_ORIGINAL_SIZE);
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] {
            const RECT client = ClientOf(third);
            return client.right == GetSystemMetrics(SM_CXSCREEN) && client.bottom == GetSystemMetrics(SM_CYSCREEN);
        },
        10000));

    // Tiling puts it back in its place and size.
    viewer.Command(ID_VW_TILE);
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] {
            const RECT now = PlaceOf(third);
            return EqualRect(&tiled, &now) != FALSE;
        },
        10000));

    // Keeping the aspect in a window much wider than the screen: the picture
    // keeps the screen's proportions and no longer fills the width.
    SetWindowPos(third, nullptr, 0, 0, 600, 200, SWP_NOMOVE | SWP_NOZORDER);
    viewer.Activate(third);
    viewer.Command(ID_VW_KEEP_ASPECT);
    HWND picture = GetDlgItem(third, ID_VW_TASKSWITCH);
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] {
            const RECT shown = ClientOf(picture);
            const long screenWidth = GetSystemMetrics(SM_CXSCREEN);
            const long screenHeight = GetSystemMetrics(SM_CYSCREEN);
            return shown.bottom == ClientOf(third).bottom && shown.right < ClientOf(third).right &&
                   shown.right == static_cast<long>(static_cast<double>(screenWidth) / screenHeight * shown.bottom);
        },
        10000));

    // Cascading moves every window off the tiled places, one below another.
    viewer.Command(ID_VW_CASCADE);
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] {
            std::vector<long> tops;
            for (HWND child : viewer.Children()) tops.push_back(PlaceOf(child).top);
            std::sort(tops.begin(), tops.end());
            return tops.size() == 3 && tops[0] < tops[1] && tops[1] < tops[2] && tops[2] - tops[0] < 200;
        },
        10000));

    // The help file beside the build's programs opens in HTML Help's window,
    // titled as the compiled file names itself.
    viewer.Command(ID_VW_HELP);
    struct Search {
        DWORD pid;
        HWND found;
    } search{viewer.Pid(), nullptr};
    qvtest::WaitUntil(
        [&] {
            qvtest::RunOnDesktop(ids[0], [&] {
                search.found = nullptr;
                EnumWindows(
                    [](HWND window, LPARAM param) -> BOOL {
                        auto* s = reinterpret_cast<Search*>(param);
                        char name[64] = "", title[64] = "";
                        DWORD pid = 0;
                        GetClassNameA(window, name, sizeof name);
                        GetWindowTextA(window, title, sizeof title);
                        GetWindowThreadProcessId(window, &pid);
                        if (pid != s->pid || std::string(name) != "HH Parent" ||
                            std::string(title) != "Quorvel ヘルプ")
                            return TRUE;
                        s->found = window;
                        return FALSE;
                    },
                    reinterpret_cast<LPARAM>(&search));
            });
            return search.found != nullptr;
        },
        10000);
    ASSERT_TRUE(search.found) << "no HTML Help window for Lumarch.chm";
    PostMessageA(search.found, WM_CLOSE, 0, 0);

    viewer.Command(ID_VW_EXIT);
    EXPECT_EQ(viewer.WaitExit(), 0);
}

// The viewer's start against stand-ins of the daemon on a desktop of the
// test's own.
TEST(ViewerStart, WithoutADaemonOrWithOneDesktopItSaysSoAndEnds) {
    qvtest::TestDesktop desktop;
    long exitCode = -2;
    EXPECT_EQ(qvtest::FirstMessageOf("QVViewer.exe", "", desktop.Name(), &exitCode), "Quorvelが動いていません.");
    EXPECT_EQ(exitCode, 1);

    qvtest::FakeDaemonWindows::Options options;
    options.informationBytes = qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "Only", 0}}).Bytes();
    qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    EXPECT_EQ(qvtest::FirstMessageOf("QVViewer.exe", "", desktop.Name(), &exitCode), "ﾃﾞｽｸﾄｯﾌﾟの数が１個です.");
    EXPECT_EQ(exitCode, 0);
}

TEST(ViewerStart, ABrokenReplyEndsItWithoutAWindow) {
    qvtest::TestDesktop desktop;
    const std::string whole =
        qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "Here", 0},
                                 qv::DesktopRecord{std::string(300, 'L'), 800, 600, "Long", 0}})
            .Bytes();
    // Cut inside the first record, and a desktop id beyond its buffer.
    for (const std::string& reply : {whole.substr(0, 14), whole}) {
        qvtest::FakeDaemonWindows::Options options;
        options.informationBytes = reply;
        qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
        ASSERT_TRUE(daemon.Ready());
        qvtest::ProcessGuard viewer;
        ASSERT_TRUE(qvtest::StartProgram(viewer, "QVViewer.exe", "", desktop.Name()));
        EXPECT_EQ(viewer.WaitExit(30000), 1) << reply.size() << " bytes";
        EXPECT_FALSE(qvtest::FindWindowOn(desktop.Name(), qv::viewer::kFrameClassName, nullptr, 0));
    }
}

TEST(ViewerStart, ADesktopThatCannotBeOpenedShowsNoWindows) {
    qvtest::TestDesktop desktop;
    qvtest::FakeDaemonWindows::Options options;
    options.informationBytes = qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "Here", 0},
                                                        qv::DesktopRecord{"VwNoSuchDesktop", 800, 600, "Nowhere", 0}})
                                   .Bytes();
    qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
    ASSERT_TRUE(daemon.Ready());
    Viewer viewer;
    ASSERT_TRUE(viewer.Start(desktop.Name()));
    ASSERT_TRUE(viewer.WaitDrawn(2));
    EXPECT_TRUE(viewer.Child("Nowhere"));
    viewer.Command(ID_VW_EXIT);
    EXPECT_EQ(viewer.WaitExit(), 0);
}

}  // namespace
