#include <gtest/gtest.h>

#include "RollRules.h"

namespace {

TEST(RollRules, EdgeWindowsFollowTheirBitsAndABottomRowServesTheBottomCorners) {
    struct {
        int32_t mouseOver;
        bool left, right, bottom;
    } cases[] = {
        {5, false, false, false},    // the default: top corners only, the bar's strip catches them
        {0x08, true, false, false},  // left column
        {0x10, true, false, false},  // bottom-left pixel: a left column to catch it
        {0x30, false, false, true},  // with the bottom row, no left column for it
        {0x38, true, false, true},   // the left column asked for itself
        {0x40, false, true, false},  // bottom-right pixel
        {0x60, false, false, true},
        {0x80, false, true, false},
        {-1, true, true, true},      // every bit, and bits above the eight ignored
        {0x100, false, false, false},
    };
    for (const auto& c : cases) {
        qv::EdgeWindows edges = qv::EdgeWindowsFor(c.mouseOver);
        EXPECT_EQ(edges.left, c.left) << std::hex << c.mouseOver;
        EXPECT_EQ(edges.right, c.right) << std::hex << c.mouseOver;
        EXPECT_EQ(edges.bottom, c.bottom) << std::hex << c.mouseOver;
    }
}

TEST(RollRules, APointBringsTheBarBackOnlyInTheZoneOfASetBit) {
    const int w = 1024, h = 768;
    // The default 5: the top corners, not the middle of the top row.
    EXPECT_EQ(qv::HotZoneHit(5, 0, 0, w, h), 0);
    EXPECT_EQ(qv::HotZoneHit(5, w - 1, 0, w, h), 2);
    EXPECT_EQ(qv::HotZoneHit(5, 500, 0, w, h), -1);
    EXPECT_EQ(qv::HotZoneHit(5, 0, 1, w, h), -1);
    EXPECT_EQ(qv::HotZoneHit(5, w, 0, w, h), -1) << "beyond the screen";
    // Zones overlap at the corners: the lowest set bit is the hit.
    EXPECT_EQ(qv::HotZoneHit(0x02, 500, 0, w, h), 1);
    EXPECT_EQ(qv::HotZoneHit(0x03, 0, 0, w, h), 0);
    EXPECT_EQ(qv::HotZoneHit(0x08, 0, 400, w, h), 3);
    EXPECT_EQ(qv::HotZoneHit(0x10, 0, h - 1, w, h), 4);
    EXPECT_EQ(qv::HotZoneHit(0x10, 0, h - 2, w, h), -1);
    EXPECT_EQ(qv::HotZoneHit(0x20, 300, h - 1, w, h), 5);
    EXPECT_EQ(qv::HotZoneHit(0x40, w - 1, h - 1, w, h), 6);
    EXPECT_EQ(qv::HotZoneHit(0x80, w - 1, 300, w, h), 7);
    EXPECT_EQ(qv::HotZoneHit(0x7F, w - 1, 300, w, h), -1) << "the right column is bit 7 alone";
    EXPECT_EQ(qv::HotZoneHit(0, 0, 0, w, h), -1);
    EXPECT_EQ(qv::HotZoneHit(0x100, 0, 0, w, h), -1);
}

}  // namespace
