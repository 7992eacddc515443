// The hanger's rules: the order of its sorts, what counts as a click or a
// drag out, where a dropped button goes, and the texts and places of its
// dialogs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HangerRules.h"

namespace {

using qv::Box;
using qv::SortFacts;

std::vector<size_t> Order(const std::vector<SortFacts>& facts, int32_t key, bool ascending) {
    return qv::HangerSortOrder(facts, key, ascending);
}

TEST(HangerRules, SortsTakeTheGreatestAgainAndAgain) {
    const std::vector<SortFacts> facts = {
        {"b.exe", "Zeta", Box{0, 0, 10, 10}, 3},
        {"a.exe", "alpha", Box{50, 50, 60, 200}, 1},
        {"c.exe", "Beta", Box{10, 5, 30, 30}, 2},
    };
    EXPECT_EQ(Order(facts, qv::kSortByHangOnNumber, true), (std::vector<size_t>{1, 2, 0}));
    EXPECT_EQ(Order(facts, qv::kSortByHangOnNumber, false), (std::vector<size_t>{0, 2, 1}));
    EXPECT_EQ(Order(facts, qv::kSortByModule, true), (std::vector<size_t>{1, 0, 2}));
    // Byte-wise: capitals before small letters.
    EXPECT_EQ(Order(facts, qv::kSortByCaption, true), (std::vector<size_t>{2, 0, 1}));
    EXPECT_EQ(Order(facts, qv::kSortByArea, false), (std::vector<size_t>{1, 2, 0}));
    // A key out of range sorts by hang-on number.
    EXPECT_EQ(Order(facts, 99, true), Order(facts, qv::kSortByHangOnNumber, true));
}

TEST(HangerRules, TopLeftWinsOnlyOverWhatLiesAboveAndLeftOfIt) {
    // 1 lies right of 0 but higher: neither beats the other, so the first met
    // stays the greatest; 2 beats both.
    const std::vector<SortFacts> facts = {
        {"", "", Box{10, 50, 20, 60}, 1},
        {"", "", Box{40, 20, 50, 30}, 2},
        {"", "", Box{60, 70, 80, 90}, 3},
    };
    EXPECT_EQ(Order(facts, qv::kSortByTopLeft, false), (std::vector<size_t>{2, 0, 1}));
    EXPECT_EQ(Order(facts, qv::kSortByTopLeft, true), (std::vector<size_t>{1, 0, 2}));
    // Equal entries keep the order they were met in, either way.
    const std::vector<SortFacts> same = {{"x", "", {}, 1}, {"x", "", {}, 2}};
    EXPECT_EQ(Order(same, qv::kSortByModule, false), (std::vector<size_t>{0, 1}));
}

TEST(HangerRules, AJitterOfFivePixelsIsAClick) {
    EXPECT_TRUE(qv::IsHangerClick(5, -5));
    EXPECT_FALSE(qv::IsHangerClick(6, 0));
    EXPECT_FALSE(qv::IsHangerClick(0, -6));
}

TEST(HangerRules, ADropOutsideTheAreaRemovesAndAnyOtherMoves) {
    // Area 100 x 20; a button 20 x 20.
    EXPECT_FALSE(qv::DroppedOutside(Box{90, 0, 110, 20}, 100, 20));
    EXPECT_FALSE(qv::DroppedOutside(Box{-18, 0, 2, 20}, 100, 20));  // one pixel still in, one shaved off
    EXPECT_TRUE(qv::DroppedOutside(Box{-19, 0, 1, 20}, 100, 20));
    EXPECT_TRUE(qv::DroppedOutside(Box{10, 19, 30, 39}, 100, 20));
    EXPECT_EQ(qv::DropPlace({0, 20, 40}, 25), 2u);
    EXPECT_EQ(qv::DropPlace({0, 20, 40}, -3), 0u);
    EXPECT_EQ(qv::DropPlace({0, 20, 40}, 40), 3u);
}

TEST(HangerRules, PropertiesTextDropsControlCharacters) {
    qv::HangerFacts facts{"app.exe", "Tab\there\r\n", "Work", Box{1, 2, 300, 400}, "C:\\app.exe", "AppClass", 0x1A2B,
                          0x10042};
    EXPECT_EQ(qv::HangerInfoText(facts),
              "ﾓｼﾞｭｰﾙ\tapp.exe\r\nｷｬﾌﾟｼｮﾝ\tTabhere\r\nﾃﾞｽｸﾄｯﾌﾟ\tWork\r\n位置\t(1,2)-(300,400)\r\nﾌﾙﾊﾟｽ\tC:\\app.exe"
              "\r\nｸﾗｽ名\tAppClass\r\nPID\t0x00001A2B\r\nHWND\t0x00010042");
    EXPECT_EQ(qv::HangerMenuText("app.exe", "a\tb"), "app.exe ab");
}

TEST(HangerRules, DialogsOpenBelowTheirButtonAndStayOnTheScreen) {
    const auto at = [](Box button) { return qv::DialogPlace(button, 200, 100, 1024, 768); };
    EXPECT_EQ(at(Box{400, 0, 420, 20}).x, 310);
    EXPECT_EQ(at(Box{400, 0, 420, 20}).y, 20);
    EXPECT_EQ(at(Box{0, 0, 20, 20}).x, 16);
    EXPECT_EQ(at(Box{1000, 0, 1020, 20}).x, 1024 - 16 - 200);
    EXPECT_EQ(at(Box{400, 700, 420, 720}).y, 768 - 16 - 100);
}

}  // namespace
