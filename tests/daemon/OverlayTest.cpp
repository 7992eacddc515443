#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "CommandText.h"
#include "Daemon.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

// What the X screen shows; under Wine it carries the windows of every desktop.
struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top-down rows of 0x00RRGGBB

    static ScreenShot Take() {
        ScreenShot shot;
        shot.width = GetSystemMetrics(SM_CXSCREEN);
        shot.height = GetSystemMetrics(SM_CYSCREEN);
        shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, shot.height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = shot.width;
        info.bmiHeader.biHeight = -shot.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        GetDIBits(memory, bitmap, 0, shot.height, shot.pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return shot;
    }
};

// Where the pixels of one colour lie.
struct Spot {
    int count = 0;
    RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};  // right and bottom inclusive
    bool Within(const RECT& rect) const {
        return box.left >= rect.left && box.top >= rect.top && box.right < rect.right && box.bottom < rect.bottom;
    }
};

Spot Find(const ScreenShot& shot, COLORREF color) {
    const uint32_t wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    Spot spot;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if ((shot.pixels[static_cast<size_t>(y) * shot.width + x] & 0xFFFFFF) == wanted) {
                ++spot.count;
                spot.box = {std::min<LONG>(spot.box.left, x), std::min<LONG>(spot.box.top, y),
                            std::max<LONG>(spot.box.right, x), std::max<LONG>(spot.box.bottom, y)};
            }
    return spot;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Its own style bit: IsWindowVisible also asks the desktop window above it,
// which Wine does not count as visible for a desktop other than the caller's.
bool Shown(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The first line of the log after `after` that starts with `start`.
std::string LineAfter(const std::vector<std::string>& log, const std::string& after, const std::string& start) {
    bool seen = false;
    for (const std::string& line : log) {
        if (!seen)
            seen = line == after;
        else if (line.rfind(start, 0) == 0)
            return line;
    }
    return std::string();
}

TEST(DaemonTitle, FloatsLargeAndCentredThenSmallInItsCornerThenGoes) {
    const COLORREF color = 0x0040C0F0;  // red F0, green C0, blue 40
    Daemon daemon;
    // "No title" is the colour 0xFFFFFFFF, written -1: a hexadecimal text that
    // large saturates to 0x7FFFFFFF on reading.
    ASSERT_TRUE(daemon.StartReady(
        "ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t0\nLogoColor\t-1\n"
        "TitleDelay1\t1500\nTitleDelay2\t1500\nTitleDelay3\t1500\nTitleDispPos\t7\n",
        {"DesktopName\tQVTitle\nDesktopTitleColor\t0x0040C0F0\n", "DesktopName\tUnseen\nDesktopTitleColor\t-1\n"}));
    const std::string home = daemon.StartDesktop();
    const HWND title = qvtest::DaemonThreadWindow("User_Desktop0");
    const HWND unseen = qvtest::DaemonThreadWindow("User_Desktop1");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(unseen, nullptr);
    const std::vector<std::string> log = daemon.LogLines();
    EXPECT_EQ(LineAfter(log, "DesktopID=[User_Desktop0] : QVTitle", "Desktop[User_Desktop0] MaxLength="),
              "Desktop[User_Desktop0] MaxLength=7, FontSize=128");
    int x2 = 0, y2 = 0, w2 = 0, h2 = 0;
    const std::string placed = LineAfter(log, "Desktop[User_Desktop0] MaxLength=7, FontSize=128", "Position Mode=");
    ASSERT_EQ(std::sscanf(placed.c_str(), "Position Mode=7  Rect=(%d,%d,%d,%d)", &x2, &y2, &w2, &h2), 4) << placed;

    ScreenShot shot = ScreenShot::Take();
    const int W = shot.width, H = shot.height;
    ASSERT_EQ(Find(shot, color).count, 0) << "the colour must be the title's alone";
    ASSERT_EQ(qvtest::SendMainCommand(home, qv::kCmdNext), 1);
    const DWORD switched = GetTickCount();
    auto at = [&](DWORD ms) {
        while (GetTickCount() - switched < ms) Sleep(10);
    };

    at(750);  // before TitleDelay1
    EXPECT_FALSE(Shown(title));
    EXPECT_EQ(Find(ScreenShot::Take(), color).count, 0);

    at(2250);  // large title
    {
        SCOPED_TRACE("phase 1");
        EXPECT_TRUE(Shown(title));
        const RECT r1 = WindowRect(title);
        const int w1 = r1.right - r1.left, h1 = r1.bottom - r1.top;
        EXPECT_GT(h1, h2);
        EXPECT_EQ(r1.left, (W - w1) / 2) << Text(r1);
        EXPECT_EQ(r1.top, (H - h1) / 2 - H / 20) << Text(r1);
        const Spot spot = Find(ScreenShot::Take(), color);
        EXPECT_GT(spot.count, 500);
        EXPECT_TRUE(spot.Within(r1)) << Text(spot.box) << " not within " << Text(r1);
        EXPECT_NEAR((spot.box.left + spot.box.right) / 2, W / 2, 12) << Text(spot.box);
    }

    at(3750);  // small title in the bottom right corner
    {
        SCOPED_TRACE("phase 2");
        EXPECT_TRUE(Shown(title));
        const RECT r2 = WindowRect(title);
        EXPECT_EQ(r2.left, x2);
        EXPECT_EQ(r2.top, y2);
        EXPECT_EQ(r2.right, W);
        EXPECT_EQ(r2.bottom, H);
        EXPECT_EQ(r2.right - r2.left, w2);
        const Spot spot = Find(ScreenShot::Take(), color);
        EXPECT_GT(spot.count, 100);
        EXPECT_TRUE(spot.Within(r2)) << Text(spot.box) << " not within " << Text(r2);
    }

    at(5250);  // gone
    EXPECT_FALSE(Shown(title));
    EXPECT_EQ(Find(ScreenShot::Take(), color).count, 0);

    // A desktop whose colour is "none" shows no title at all.
    ASSERT_EQ(qvtest::SendMainCommand(home, qv::kCmdNext), 1);
    const DWORD second = GetTickCount();
    bool shown = false;
    RECT rect = {};
    while (GetTickCount() - second < 5000 && !shown) {
        rect = WindowRect(unseen);
        shown = Shown(unseen) && !IsRectEmpty(&rect);
        Sleep(50);
    }
    EXPECT_FALSE(shown) << Text(rect);
}

}  // namespace
