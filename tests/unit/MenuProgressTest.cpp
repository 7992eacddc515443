// The launcher menu's waiting window, made for a bar on a desktop of the
// test's own: where it comes, when it shows, what it shows, its Cancel and
// its end.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Desktops.h"
#include "MenuProgress.h"
#include "Processes.h"
#include "QVCtrlBarRes.h"
#include "TestFiles.h"

namespace {

constexpr char kTitle[] = "お待ち下さい  検索中です...";

std::string ItemText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

class MenuProgressTest : public ::testing::Test {
protected:
    // fn runs on a thread of the test desktop that owns a stand-in bar
    // across the top of the screen, 400 x 20 (hidden: under Wine a shown
    // window takes seconds to go).
    void OnBarThread(const std::function<void(HWND bar)>& fn) {
        ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] {
            HWND bar = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "bar", WS_POPUP, 0, 0, 400, 20,
                                       nullptr, nullptr, nullptr, nullptr);
            ASSERT_TRUE(bar);
            fn(bar);
            DestroyWindow(bar);
        }));
    }

    qvtest::TestDesktop desktop;
    qvtest::LogCapture log;
};

TEST_F(MenuProgressTest, ItShowsOnTheBarsDesktopAfterASecondWithoutFocusAndItsCancelIsSeen) {
    OnBarThread([&](HWND bar) {
        const DWORD start = GetTickCount();
        qv::MenuProgress progress(GetModuleHandleA(nullptr), bar);
        // Found from this desktop only: it was made on the bar's.
        HWND window = FindWindowA("#32770", kTitle);
        ASSERT_TRUE(window);
        if (GetTickCount() - start < 900) {
            EXPECT_FALSE(IsWindowVisible(window));
        }
        RECT rect = {};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 200);
        EXPECT_EQ(rect.top, 10);
        EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

        progress.Entering("C:\\Work\\Tools");
        EXPECT_TRUE(qvtest::WaitUntil([&] { return ItemText(window, IDC_PROGRESS_NAME) == "Tools"; }, 5000));
        EXPECT_EQ(ItemText(window, IDC_PROGRESS_FOLDER), "C:\\Work\\");

        ASSERT_TRUE(qvtest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
        EXPECT_GE(GetTickCount() - start, 990u);
        EXPECT_NE(GetForegroundWindow(), window);

        EXPECT_FALSE(progress.Cancelled());
        PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(qvtest::WaitUntil([&] { return progress.Cancelled(); }, 5000));
        EXPECT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(window); }, 5000));
        const DWORD closing = GetTickCount();
        progress.Close();
        EXPECT_LT(GetTickCount() - closing, 1000u);
    });
    // Neither bound was reached.
    EXPECT_EQ(log.Text(), "");
}

TEST_F(MenuProgressTest, TheBuildersCloseEndsTheWindowAndItsThreadWithoutCancelling) {
    OnBarThread([&](HWND bar) {
        qv::MenuProgress progress(GetModuleHandleA(nullptr), bar);
        HWND window = FindWindowA("#32770", kTitle);
        ASSERT_TRUE(window);
        const DWORD closing = GetTickCount();
        progress.Close();
        EXPECT_LT(GetTickCount() - closing, 4000u);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(progress.Cancelled());
        // Past its end it shows nothing and takes nothing amiss.
        progress.Entering("C:\\Later");
        progress.Close();
    });
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
