// The soak run's judgement: which log lines are whole, and which growth
// passes its limit.

#include <gtest/gtest.h>

#include "SoakRules.h"

namespace {

using soak::LineKind;

TEST(SoakLog, CountsWholeLinesAndCatchesOnesRunIntoOrCut) {
    const std::string log =
        "Quorvel Command Detected[+1]\r\n"
        "Argments : +1 Detected.\r\n"
        "SwitchDesktop ID=User_Desktop0.\r\n"
        "Desktop Default [ThreadID=0000012C] KeepBitmap Start. nRate=4 (256x192) Completed.\r\n"
        "Active New Desktop [User_Desktop0] ThreadID=00000130\r\n"
        // Another thread's answer inside a line of two pieces.
        "Desktop User_Desktop0 [ThreadID=00000130] KeepBitmap Start. nRate=4 (256x192)Respons : DIB Bitmap OK\r\n"
        " Completed.\r\n"
        "Respons : Desktop Name = (Soak1)\r\n"
        "Active New Desktop [Default] ThreadID=0000012C\r\n"
        "Active New Desktop [User_Desktop0] ThreadID=00000130";
    const soak::LogReading reading = soak::ReadLog(log);
    EXPECT_EQ(reading.Count(LineKind::kCommand), 1);
    EXPECT_EQ(reading.Count(LineKind::kArguments), 1);
    EXPECT_EQ(reading.Count(LineKind::kSwitchId), 1);
    EXPECT_EQ(reading.Count(LineKind::kSnapshot), 1);
    EXPECT_EQ(reading.Count(LineKind::kName), 1);
    EXPECT_EQ(reading.Count(LineKind::kBitmap), 0);
    EXPECT_EQ(reading.activated, (std::vector<std::string>{"User_Desktop0", "Default", "User_Desktop0"}));
    ASSERT_EQ(reading.Count(LineKind::kUnexpected), 2);
    EXPECT_EQ(reading.unexpected[1], " Completed.");
    EXPECT_FALSE(reading.endsWithLineEnd);

    // A closing line of the end is whole only with its line end in one piece.
    EXPECT_EQ(soak::ClassifyLine("Wnd=0001009C PID=  56(QVFixture.exe) : -> WM_CLOSE(0[s]). "), LineKind::kOther);
    EXPECT_EQ(soak::ClassifyLine("Wnd=0001009C PID=  56(QVFixture.exe) : ->Wnd=000200A4 PID=  60(QVFixture.exe) : "),
              LineKind::kUnexpected);
    EXPECT_EQ(soak::ClassifyLine("Desktop [User_Desktop3] Thread Did Not End Within 60000 ms."), LineKind::kUnexpected);
}

TEST(SoakLimits, GrowthUpToTheLimitPassesAndBeyondItOrUnreadFails) {
    const std::vector<std::string> desktops = {"Default", "User_Desktop0"};
    const soak::Limits limits = {4, 2u << 20, 0};
    const soak::Figures start = {{57, 40u << 20}, {80, 30u << 20}, {5, 9}};
    soak::Figures end = {{61, (40u << 20) + (2u << 20)}, {80, 29u << 20}, {5, 9}};
    EXPECT_TRUE(soak::Breaches(start, end, limits, desktops).empty());

    end.daemon.handles = 62;
    end.bar.privateBytes = (32u << 20) + 1;
    end.windows[1] = 10;
    const std::vector<std::string> breaches = soak::Breaches(start, end, limits, desktops);
    ASSERT_EQ(breaches.size(), 3u);
    EXPECT_EQ(breaches[0], "daemon handles grew by 5 handles (limit 4)");
    EXPECT_EQ(breaches[1], "bar private bytes grew by 2097153 bytes (limit 2097152)");
    EXPECT_EQ(breaches[2], "windows on User_Desktop0 grew by 1 windows (limit 0)");

    end = start;
    end.bar.handles = -1;  // the bar was gone
    end.windows.pop_back();
    EXPECT_EQ(soak::Breaches(start, end, limits, desktops),
              (std::vector<std::string>{"bar handles could not be read", "windows on User_Desktop0 could not be read"}));
}

}  // namespace
