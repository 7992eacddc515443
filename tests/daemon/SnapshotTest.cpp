#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Daemon.h"
#include "DaemonExtras.h"
#include "PipeClient.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

const std::string kNotCaptured("\0\0\0\0Not Captured\0", 17);
const std::string kSnapshotsOff(4, '\0');

int32_t IntAt(const std::string& bytes, size_t at) {
    int32_t value = -1;
    if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

TEST(DaemonSnapshot, DesktopLeftIsKeptAtAQuarterWithItsWindowInPlace) {
    // The fixture paints its client area in this colour: red E0, green 60, blue 20.
    const COLORREF color = 0x002060E0;
    Daemon daemon;
    const std::string report = daemon.Dir().File("painted.txt");
    std::string entry = qvtest::FixtureEntryLines("--color=0x2060E0 --lifetime=60000 --report=" + report);
    entry.insert(entry.rfind('}'), "ExecutionPosition\t200,100\nExecutionSize\t400,300\n");
    ASSERT_TRUE(daemon.StartReady("ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t4\nTitleDelay2\t0\nTitleDelay3\t0\n",
                                  {entry, ""}));
    const std::string home = daemon.StartDesktop();
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(report) != 0; }, 10000));
    qvtest::ProcessGuard fixture;
    ASSERT_TRUE(fixture.WatchReported(report));

    EXPECT_EQ(qvtest::RawReply("User_Desktop0", qv::PipeQuestion::kBitmap), kNotCaptured) << "never left yet";
    EXPECT_EQ(qvtest::SendCommandText(home, "N"), 1);
    // Under Wine every desktop's windows are on the one screen: wait until the
    // window's middle shows its colour there.
    HDC screen = GetDC(nullptr);
    bool painted = qvtest::WaitUntil([&] { return GetPixel(screen, 400, 250) == color; }, 10000);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(painted) << "the fixture window is not at 200,100 400x300";
    EXPECT_EQ(qvtest::SendCommandText("User_Desktop0", "N"), 1);

    qv::BitmapLines bitmap;
    int32_t linesRead = 0;
    ASSERT_EQ(qv::PipeClient("User_Desktop0").AskBitmap(bitmap, &linesRead), qv::QueryResult::kOk);
    ASSERT_EQ(bitmap.shape.width, 256);
    ASSERT_EQ(bitmap.shape.height, 192);
    EXPECT_EQ(bitmap.shape.chunkSize, 1024u);
    ASSERT_EQ(linesRead, 192);
    auto pixel = [&](int x, int y) {  // from the top left, as on the screen
        const std::string& line = bitmap.lines.at(191 - y);
        const unsigned char* bgr = reinterpret_cast<const unsigned char*>(line.data()) + 3 * x;
        return static_cast<COLORREF>(RGB(bgr[2], bgr[1], bgr[0]));
    };
    // The client area, from about (51, 32) to (149, 99) at a quarter, well inside.
    int inside = 0, total = 0;
    for (int y = 45; y < 85; y += 4)
        for (int x = 70; x < 130; x += 4, ++total) inside += pixel(x, y) == color;
    EXPECT_EQ(inside, total);
    EXPECT_NE(pixel(20, 150), color) << "outside the window";
    EXPECT_NE(pixel(240, 20), color) << "outside the window";

    EXPECT_EQ(qvtest::RawReply("User_Desktop1", qv::PipeQuestion::kBitmap), kNotCaptured) << "never left";
    EXPECT_NE(daemon.Log().find("KeepBitmap Start. nRate=4 (256x192) Completed.\r\n"), std::string::npos);
}

TEST(DaemonSnapshot, OffKeepsNothingAndSaysSoApartFromNotCaptured) {
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {"", ""}));  // KeepBitmapSize 0
    const std::string home = daemon.StartDesktop();
    EXPECT_EQ(qvtest::SendCommandText(home, "N"), 1);
    EXPECT_EQ(qvtest::RawReply(home, qv::PipeQuestion::kBitmap), kSnapshotsOff);
    EXPECT_EQ(daemon.Log().find("KeepBitmap Start"), std::string::npos);

    // On again: home was left while they were off, so it has none.
    EXPECT_EQ(qvtest::SendRequest(home, qv::kSnapshotSizeRequest, 4), 1);
    EXPECT_EQ(qvtest::RawReply(home, qv::PipeQuestion::kBitmap), kNotCaptured);
    EXPECT_EQ(qvtest::SendCommandText("User_Desktop0", "H"), 1);
    const std::string reply = qvtest::RawReply("User_Desktop0", qv::PipeQuestion::kBitmap);
    RECT screen = {};
    GetWindowRect(GetDesktopWindow(), &screen);
    const int32_t width = (screen.right - screen.left) / 4, height = (screen.bottom - screen.top) / 4;
    EXPECT_EQ(IntAt(reply, 0), 3 * width + 256);
    EXPECT_EQ(IntAt(reply, 4), 40) << "biSize";
    EXPECT_EQ(IntAt(reply, 8), width);
    EXPECT_EQ(IntAt(reply, 12), height);
    EXPECT_EQ(reply.size(), 4 + 44 + static_cast<size_t>(height) * (3 * width + 256));
}

}  // namespace
