// The bar rolls itself up into a strip when the mouse leaves it and comes
// back at the screen places its settings name; the pin keeps it shown.
// Seen through the one pointer of the one X screen: session b, where these
// run, runs one suite at a time.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BarWindows.h"
#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

// The pointer moved as a mouse moves it: to the place, and as input. Under
// Wine SetCursorPos alone does not reach the desktop's low-level mouse hooks,
// through which a bar hears the pointer leave it after resting there; a move
// of no distance sent as input does.
void PointAt(const std::string& desktop, int x, int y) {
    qvtest::RunOnDesktop(desktop, [&] {
        SetCursorPos(x, y);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &input, sizeof(input));
    });
}

class ControlBarRoll : public ::testing::Test {
protected:
    void StartWith(const std::string& barSettings) {
        ids = bartest::StartWithBar(daemon, barSettings, {""});
        ASSERT_EQ(ids.size(), 2u);
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }
    // All desktops' bars lie on the one screen: whichever is on top at a
    // point takes the pointer there.
    int Shown() const {
        int shown = 0;
        for (const std::string& id : ids) shown += bartest::BarHeight(id) > 1;
        return shown;
    }

    Daemon daemon;
    std::vector<std::string> ids;
    int width = 0, height = 0;
};

TEST_F(ControlBarRoll, ARolledUpBarComesBackAtItsHotZonesOnly) {
    StartWith(bartest::BarSettings("MouseOver\t5\nFixPin\t0\nRollTimer\t2000\n"));
    PointAt(ids[0], width / 2, height / 2);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return Shown() == 0; }, 10000)) << Shown();

    // The middle of the top row is no hot zone of 5 (the two top corners).
    PointAt(ids[0], width / 2, 0);
    PointAt(ids[0], width / 2 + 1, 0);
    EXPECT_FALSE(qvtest::WaitUntil([&] { return Shown() > 0; }, 2000));

    // Under Wine the move reaches the bars of every desktop.
    PointAt(ids[0], width - 1, 0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Shown() > 0; }, 5000));
    // The mouse leaves; the bar rolls up again after its two seconds.
    PointAt(ids[0], width / 2, height / 2);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Shown() == 0; }, 5000));

    // The bar's hot key, as the system delivers it to the main window,
    // brings every bar back.
    qvtest::RunOnDesktop(daemon.StartDesktop(), [] {
        PostMessageA(FindWindowA(qv::kBarMainWindowClass, qv::kBarWindowName), WM_HOTKEY, 1, 0);
    });
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Shown() == 2; }, 5000));
}

// The roll-up counts its time from the last thing that could keep the bar:
// the pointer's move off it after resting there (with no count running
// meanwhile, however long it rests), or the close of one of its dialogs.
TEST_F(ControlBarRoll, TheRollUpCountsFromThePointersMoveAndFromADialogsClose) {
    StartWith(bartest::BarSettings("MouseOver\t5\nFixPin\t0\nRollTimer\t2000\n"));
    PointAt(ids[0], width / 2, height / 2);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return Shown() == 0; }, 10000)) << Shown();
    const std::string& desktop = ids[0];
    const auto rolled = [&] { return bartest::BarHeight(desktop) == 1; };
    const auto show = [&] {
        qvtest::RunOnDesktop(desktop, [] {
            PostMessageA(bartest::BarHere(), qv::kRequestMessage, qv::kBarShowRequest, 0);
        });
        return qvtest::WaitUntil([&] { return !rolled(); }, 5000);
    };
    // Milliseconds from now until the bar is rolled up; -1 when it stays.
    const auto msToRoll = [&] {
        const DWORD start = GetTickCount();
        return qvtest::WaitUntil(rolled, 10000) ? static_cast<long>(GetTickCount() - start) : -1L;
    };

    // Shown under the pointer, below the rolled-up strip and off every hot
    // zone: it stays while the pointer rests, over more than two counts.
    PointAt(desktop, width / 2, 3);
    ASSERT_TRUE(show());
    EXPECT_FALSE(qvtest::WaitUntil(rolled, 5000));
    // The pointer leaves: the bar goes its two seconds after that move.
    PointAt(desktop, width / 2, height / 2);
    const long afterMove = msToRoll();
    EXPECT_GE(afterMove, 1500);

    // A dialog of the bar keeps it past its time, and its close starts the count.
    ASSERT_TRUE(show());
    qvtest::RunOnDesktop(desktop, [] {
        HWND knob = FindWindowExA(bartest::BarHere(), nullptr, "QVKnobButton", nullptr);
        PostMessageA(knob, WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    });
    const qvtest::DaemonDialog scroll = qvtest::WaitForProcessDialog(bartest::BarProcess(desktop), desktop);
    ASSERT_TRUE(scroll);
    EXPECT_FALSE(qvtest::WaitUntil(rolled, 3000));
    ASSERT_TRUE(qvtest::PressDialog(scroll, IDOK));
    const long afterClose = msToRoll();
    EXPECT_GE(afterClose, 1500);
    // The other desktop's bar was never called back.
    EXPECT_EQ(bartest::BarHeight(ids[1]), 1);
}

TEST_F(ControlBarRoll, ThePinKeepsEveryBarShownUntilItIsPulled) {
    StartWith(bartest::BarSettings("MouseOver\t1\nFixPin\t1\nRollTimer\t1000\n"));
    PointAt(ids[0], width / 2, height / 2);
    // Pinned bars are shown from the start and never roll up by themselves.
    EXPECT_FALSE(qvtest::WaitUntil([&] { return Shown() < 2; }, 2500));
    for (const std::string& id : ids) {
        EXPECT_EQ(SendMessageA(bartest::BarButton(id, "PIN"), BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
    }

    // Pulling the pin on one bar pulls it on all: each rolls up once the
    // mouse is off it.
    ASSERT_TRUE(bartest::Click(ids[1], bartest::BarButton(ids[1], "PIN")));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Shown() == 0; }, 5000));
    for (const std::string& id : ids) {
        EXPECT_EQ(SendMessageA(bartest::BarButton(id, "PIN"), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
    }
}

TEST_F(ControlBarRoll, UnusableSettingsAreTakenSafely) {
    // Every bit of MouseOver: three edge windows. A line longer than a line
    // may be, a key nobody knows, numbers far out of range, and a block
    // that never closes.
    std::string settings = bartest::BarSettings(
        "MouseOver\t-1\nFixPin\t7\nRollTimer\t99999999999\nRegionTimer\t-5\nMenuFileCond\t-1\n"
        "HotKeyActive\t0xFFFFFFFF\nHangerSortID\t-2147483648\nNoSuchKey\t1\nInitHangonModule\t" +
        std::string(1000, 'x') + "\nHangerSortDir\t0");
    settings.resize(settings.find("}\r\n--EOF--"));
    StartWith(settings);
    for (const std::string& id : ids) {
        int edges = 0;
        qvtest::RunOnDesktop(id, [&] {
            for (HWND w = FindWindowExA(nullptr, nullptr, qv::kBarThreadWindowClass, ""); w;
                 w = FindWindowExA(nullptr, w, qv::kBarThreadWindowClass, ""))
                ++edges;
        });
        EXPECT_EQ(edges, 3) << id;
    }
    // FixPin 7 is pinned: both bars stay.
    PointAt(ids[0], width / 2, height / 2);
    EXPECT_FALSE(qvtest::WaitUntil([&] { return Shown() < 2; }, 2500));
    EXPECT_TRUE(daemon.Stop());
    EXPECT_EQ(daemon.WaitExit(0), 0);
}

// Dragging a hanger button: past its neighbour it changes the order on
// every bar, out of the hanger area it takes the window off.
TEST_F(ControlBarRoll, DraggingAHangerButtonReordersOrRemovesIt) {
    StartWith(bartest::BarSettings("FixPin\t1\n"));
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> fixtures;
    for (const char* title : {"One", "Two"}) {
        fixtures.push_back(std::make_unique<qvtest::ProcessGuard>());
        ASSERT_TRUE(qvtest::StartProgram(*fixtures.back(), "QVFixture.exe", std::string("--title=") + title, ids[1]));
        HWND window = qvtest::FindWindowOn(ids[1], nullptr, title, 10000);
        ASSERT_TRUE(window) << title;
        qvtest::RunOnDesktop(ids[0], [&] {
            PostMessageA(bartest::BarHere(), qv::kRequestMessage, qv::kBarHangWindowRequest,
                         reinterpret_cast<LPARAM>(window));
        });
        ASSERT_TRUE(qvtest::WaitUntil(
            [&] {
                const std::vector<std::string> captions = bartest::HangerCaptions(ids[0]);
                return !captions.empty() && captions.back() == title;
            },
            10000));
    }
    auto everyBar = [&](const std::vector<std::string>& captions) { return bartest::EveryHangerShows(ids, captions); };
    ASSERT_TRUE(everyBar({"One", "Two"}));
    // Press, move the pointer as a user would, release.
    auto drag = [&](HWND button, int dx, int dy) {
        qvtest::RunOnDesktop(ids[0], [&] {
            RECT r = {};
            GetWindowRect(button, &r);
            const POINT from = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            DWORD_PTR result = 0;
            SetCursorPos(from.x, from.y);
            SendMessageTimeoutA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0, SMTO_ABORTIFHUNG, 5000, &result);
            SetCursorPos(from.x + dx, from.y + dy);
            SendMessageTimeoutA(button, WM_MOUSEMOVE, MK_LBUTTON, 0, SMTO_ABORTIFHUNG, 5000, &result);
            SendMessageTimeoutA(button, WM_LBUTTONUP, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        });
    };
    const int width = [&] {
        RECT r = {};
        GetWindowRect(bartest::HangerButton(ids[0], 0), &r);
        return static_cast<int>(r.right - r.left);
    }();
    drag(bartest::HangerButton(ids[0], 0), width + width / 2, 0);
    EXPECT_TRUE(everyBar({"Two", "One"}));
    drag(bartest::HangerButton(ids[0], 1), 0, 60);
    EXPECT_TRUE(everyBar({"Two"}));
}

}  // namespace
