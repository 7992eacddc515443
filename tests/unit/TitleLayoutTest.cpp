#include "TitleLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(TitleLayout, FontSizeFollowsTheLongestLineAndTheScreen) {
    struct {
        int screen;
        const char* title;
        int size;
    } cases[] = {
        {1024, "Desktop2", 128},                                   // 8 bytes: 1024 / 8
        {1024, "12345678901234567890", 64},                        // 20 bytes: / 16
        {1024, "1234567890123456789012345678901234567890", 32},    // 40 bytes: / 32
        {640, "1234567890123456789012345678901234567890", 20},
        {2048, "Home", 128},                                       // clamped from above
        {320, "1234567890123456789012345678901234567890", 16},     // 10, clamped from below
        {1024, "", 128},
        {1024, "0123456789\n0123456789012345", 64},                // "\n" + 16 bytes = 17
        {1024, "0123456789012345\nshort", 128},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::TitleFontSize(c.screen, qv::LongestTitleLine(c.title)), c.size) << c.title;
}

TEST(TitleLayout, SmallTitleGoesToItsCorner) {
    const int W = 1024, H = 768, w = 100, h = 40;
    struct {
        int mode, x, y;
    } cases[] = {{0, 0, 0},   {1, 462, 0},   {2, 924, 0},   {3, 0, 364}, {4, 924, 364},
                 {5, 0, 728}, {6, 462, 728}, {7, 924, 728}, {9, 0, 0},   {-1, 0, 0}};
    for (const auto& c : cases) {
        qv::TitleBox box = qv::PlaceSmallTitle(c.mode, W, H, w, h);
        EXPECT_EQ(box.x, c.x) << c.mode;
        EXPECT_EQ(box.y, c.y) << c.mode;
        EXPECT_EQ(box.width, w);
        EXPECT_EQ(box.height, h);
    }
}

TEST(TitleLayout, LargeTitleIsCentredAndLiftedOrShrunkToFit) {
    qv::TitleBox fits = qv::PlaceLargeTitle(1024, 768, 400, 100);
    EXPECT_EQ(fits.x, 312);
    EXPECT_EQ(fits.y, 334 - 38);
    qv::TitleBox wide = qv::PlaceLargeTitle(1024, 768, 1500, 100);
    EXPECT_EQ(wide.width, 819);
    EXPECT_EQ(wide.height, 614);
    EXPECT_EQ(wide.x, 102);
    EXPECT_EQ(wide.y, 77 - 38);
}

TEST(TitleLayout, ProgressMarksCountTheStartedDesktops) {
    EXPECT_EQ(qv::ProgressMarks(4, 1), "\x81\xA1\x81\xA1\x81\xA0\x81\xA0");
    EXPECT_EQ(qv::ProgressMarks(3, -1), "\x81\xA0\x81\xA0\x81\xA0");
    EXPECT_EQ(qv::ProgressMarks(2, 5), "\x81\xA1\x81\xA1");
}

}  // namespace
