// The configurator's "↑" and "↓" on its desktop list, and the marks of its
// hot-key tabs.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "HotKeyTabs.h"
#include "ListMoves.h"

namespace {

using namespace qv::config;

constexpr MoveDirection kUp = MoveDirection::kUp;
constexpr MoveDirection kDown = MoveDirection::kDown;

// Rows are letters, so that a case reads as the list before and after.
struct MoveCase {
    const char* rows;
    std::vector<size_t> selected;
    MoveDirection direction;
    const char* rowsAfter;
    std::vector<size_t> selectedAfter;
};

void ExpectMoves(std::initializer_list<MoveCase> cases) {
    for (const MoveCase& c : cases) {
        std::vector<char> items(c.rows, c.rows + std::char_traits<char>::length(c.rows));
        const ListMove move = MoveRows(items, c.selected, c.direction);
        const std::string after(items.begin(), items.end());
        const char* key = c.direction == kUp ? "up" : "down";
        EXPECT_EQ(after, c.rowsAfter) << c.rows << " " << key;
        EXPECT_EQ(move.selected, c.selectedAfter) << c.rows << " " << key;
        EXPECT_TRUE(move.changed) << c.rows << " " << key;
    }
}

TEST(DesktopListMove, FewerThanTwoRowsNothingMovesOrChanges) {
    for (size_t count : {size_t{0}, size_t{1}}) {
        for (MoveDirection direction : {kUp, kDown}) {
            const ListMove none = PlanRowMove(count, {}, direction);
            EXPECT_EQ(none.order.size(), count);
            EXPECT_FALSE(none.changed);
            const ListMove one = PlanRowMove(count, {0}, direction);
            EXPECT_FALSE(one.changed);
            EXPECT_EQ(one.selected.size(), count);  // a lone row keeps its selection
        }
    }
}

TEST(DesktopListMove, NoneOrEverySelectedTurnsTheWholeList) {
    ExpectMoves({
        {"ABCD", {}, kUp, "BCDA", {}},
        {"ABCD", {}, kDown, "DABC", {}},
        {"ABCD", {0, 1, 2, 3}, kUp, "BCDA", {0, 1, 2, 3}},
        {"ABCD", {0, 1, 2, 3}, kDown, "DABC", {0, 1, 2, 3}},
        {"AB", {}, kUp, "BA", {}},
        {"AB", {0, 1}, kDown, "BA", {0, 1}},
    });
    // As many presses as rows bring the list back.
    std::vector<char> items = {'A', 'B', 'C'};
    for (int press = 0; press < 3; ++press) MoveRows(items, {}, kDown);
    EXPECT_EQ(std::string(items.begin(), items.end()), "ABC");
}

TEST(DesktopListMove, SelectedRowsStepOncePlaceAndStaySelected) {
    ExpectMoves({
        {"ABCDE", {2}, kUp, "ACBDE", {1}},
        {"ABCDE", {2}, kDown, "ABDCE", {3}},
        {"ABCDE", {1, 3}, kUp, "BADCE", {0, 2}},
        {"ABCDE", {1, 3}, kDown, "ACBED", {2, 4}},
        // A block steps as a whole, whichever way.
        {"ABCDE", {2, 3}, kUp, "ACDBE", {1, 2}},
        {"ABCDE", {1, 2}, kDown, "ADBCE", {2, 3}},
        {"ABCDE", {1, 2, 3}, kUp, "BCDAE", {0, 1, 2}},
        {"ABCDE", {1, 2, 3}, kDown, "AEBCD", {2, 3, 4}},
    });
}

TEST(DesktopListMove, RowsAtTheEndOrAgainstASelectedRowStay) {
    ExpectMoves({
        {"ABCDE", {0}, kUp, "ABCDE", {0}},
        {"ABCDE", {4}, kDown, "ABCDE", {4}},
        {"ABCDE", {0}, kDown, "BACDE", {1}},
        {"ABCDE", {4}, kUp, "ABCED", {3}},
        // The rows behind a blocked row stay too; a later one moves on.
        {"ABCDE", {0, 1, 3}, kUp, "ABDCE", {0, 1, 2}},
        {"ABCDE", {1, 3, 4}, kDown, "ACBDE", {2, 3, 4}},
        {"ABCDE", {0, 2}, kUp, "ACBDE", {0, 1}},
        // Every row but one: the one left out is passed by all the rows on
        // its far side.
        {"ABCDE", {0, 1, 3, 4}, kUp, "ABDEC", {0, 1, 2, 3}},
        {"ABCDE", {0, 1, 3, 4}, kDown, "CABDE", {1, 2, 3, 4}},
    });
}

TEST(DesktopListMove, SelectionInAnyOrderAndPastTheEndIsCleanedUp) {
    ExpectMoves({
        {"ABCDE", {3, 1, 3}, kUp, "BADCE", {0, 2}},
        {"ABCDE", {1, 9}, kUp, "BACDE", {0}},
        // Nothing of the list selected: it turns.
        {"ABC", {7}, kUp, "BCA", {}},
        // Every row named, once more than once: it turns as well.
        {"ABC", {2, 0, 1, 0}, kDown, "CAB", {0, 1, 2}},
    });
}

TEST(DesktopListMove, OwningRowsAreMovedNotCopied) {
    std::vector<std::unique_ptr<int>> rows;
    for (int i = 0; i < 4; ++i) rows.push_back(std::make_unique<int>(i));
    const ListMove move = MoveRows(rows, {3}, kUp);
    ASSERT_EQ(rows.size(), 4u);
    const int expected[] = {0, 1, 3, 2};
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_NE(rows[i], nullptr) << i;
        EXPECT_EQ(*rows[i], expected[i]) << i;
    }
    EXPECT_EQ(move.selected, std::vector<size_t>{2});
}

// The bar configurator's menu items move by their own rules.
TEST(MenuItemMove, SelectedRowsSwapPastTheirNeighbourAndEverySelectedReverses) {
    struct Case {
        const char* rows;
        std::vector<size_t> selected;
        MoveDirection direction;
        const char* rowsAfter;
        std::vector<size_t> selectedAfter;
    };
    const Case cases[] = {
        {"ABC", {0, 1}, kUp, "BAC", {0, 1}},         // the first selected swaps with the second
        {"ABC", {0, 1, 2}, kDown, "CBA", {0, 1, 2}},  // all selected: reversed
        {"ABC", {0, 1, 2}, kUp, "CBA", {0, 1, 2}},
        {"ABCD", {1, 2}, kUp, "BCAD", {0, 1}},       // a block steps past its neighbour
        {"ABCD", {1, 2}, kDown, "ADBC", {2, 3}},
        {"ABCD", {}, kUp, "BCDA", {}},               // none selected: the list turns
        {"ABCD", {}, kDown, "DABC", {}},
        {"ABCD", {3}, kDown, "ABCD", {3}},           // the last cannot go further down
    };
    for (const Case& c : cases) {
        std::vector<char> items(c.rows, c.rows + std::char_traits<char>::length(c.rows));
        const ListMove move = PlanItemMove(items.size(), c.selected, c.direction);
        ApplyOrder(items, move.order);
        const char* key = c.direction == kUp ? "up" : "down";
        EXPECT_EQ(std::string(items.begin(), items.end()), c.rowsAfter) << c.rows << " " << key;
        EXPECT_EQ(move.selected, c.selectedAfter) << c.rows << " " << key;
    }
    EXPECT_FALSE(PlanItemMove(1, {0}, kUp).changed);
}

TEST(HotKeyTabs, MarksTellUnsetSharedAndOwnKeys) {
    // Tabs 0 and 2 share a word; the same key with other modifiers is not
    // the same hot key.
    const std::array<uint32_t, kHotKeyTabCount> words = {0x00010022, 0x00020022, 0x00010022, 0};
    EXPECT_STREQ(HotKeyTabMark(words, 0), "×");
    EXPECT_STREQ(HotKeyTabMark(words, 1), "●");
    EXPECT_STREQ(HotKeyTabMark(words, 2), "×");
    EXPECT_STREQ(HotKeyTabMark(words, 3), "");
    EXPECT_STREQ(HotKeyTabMark(words, 0), "\x81\x7E");
    EXPECT_STREQ(HotKeyTabMark(words, 1), "\x81\x9C");
    // Two unset tabs do not count as sharing a key.
    const std::array<uint32_t, kHotKeyTabCount> unset = {0, 0, 0x00010024, 0x00010023};
    EXPECT_STREQ(HotKeyTabMark(unset, 0), "");
    EXPECT_STREQ(HotKeyTabMark(unset, 1), "");
    EXPECT_STREQ(HotKeyTabMark(unset, 2), "●");
}

TEST(HotKeyTabs, LabelIsTheMarkBeforeTheTabsName) {
    const std::array<uint32_t, kHotKeyTabCount> words = {0x00010022, 0x00010021, 0x00010022, 0};
    EXPECT_EQ(HotKeyTabLabel(words, 0), "×次へ");
    EXPECT_EQ(HotKeyTabLabel(words, 1), "●前へ");
    EXPECT_EQ(HotKeyTabLabel(words, 2), "×ホームへ");
    EXPECT_EQ(HotKeyTabLabel(words, 3), "メニュー");
    EXPECT_EQ(HotKeyTabLabel(words, 4), "");
}

}  // namespace
