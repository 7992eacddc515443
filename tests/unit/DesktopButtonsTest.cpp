// What the bar says about a desktop in its menus, and how far its rows of
// buttons scroll.

#include <gtest/gtest.h>

#include <string>

#include "DesktopButtons.h"

namespace {

TEST(DesktopButtons, MenuTextCountsFromOneAndDropsControlCharacters) {
    EXPECT_EQ(qv::DesktopMenuText(0, "Mail"), "1\tMail");
    EXPECT_EQ(qv::DesktopMenuText(11, "a\tb\r\nc\x7F" "d"), "12\tabcd");
    // 仕事 and ﾃﾞｽｸ: trail bytes stay, even where they look like ASCII.
    EXPECT_EQ(qv::DesktopMenuText(2, "\x8E\x64\x8E\x96\xC3\xDE\xBD\xB8"), "3\t\x8E\x64\x8E\x96\xC3\xDE\xBD\xB8");
    EXPECT_EQ(qv::DesktopMenuText(3, ""), "4\t");
}

TEST(DesktopButtons, ColoursRepeatAfterSixteenDesktops) {
    EXPECT_EQ(qv::DesktopColor(1), 0x007F20FFu);  // 255,32,127 as 0x00BBGGRR
    EXPECT_EQ(qv::DesktopColor(17), qv::DesktopColor(1));
    EXPECT_NE(qv::DesktopColor(0), qv::DesktopColor(1));
}

TEST(DesktopButtons, ScrollStaysWithinTheRow) {
    EXPECT_EQ(qv::ClampScrollPosition(-5, 300, 100), 0);
    EXPECT_EQ(qv::ClampScrollPosition(150, 300, 100), 150);
    EXPECT_EQ(qv::ClampScrollPosition(250, 300, 100), 200);  // the last button ends at the area's edge
    EXPECT_EQ(qv::ClampScrollPosition(40, 80, 100), 0);      // a row that fits does not scroll
}

}  // namespace
