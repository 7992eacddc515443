// The configurator's "↑" and "↓" on its desktop list, and the marks of its
// hot keys: the tabs of the controller's and the desktop list's.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "FixedMode.h"
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
    // Places 0 and 2 share a word; the same key with other modifiers is not
    // the same hot key; two unset places do not share a key.
    const std::vector<uint32_t> keys = {0x00010022, 0x00020022, 0x00010022, 0, 0};
    EXPECT_STREQ(HotKeyMark(keys[0], keys), "×");
    EXPECT_STREQ(HotKeyMark(keys[1], keys), "●");
    EXPECT_STREQ(HotKeyMark(keys[3], keys), "");
    EXPECT_STREQ(HotKeyMark(keys[0], keys), "\x81\x7E");
    EXPECT_STREQ(HotKeyMark(keys[1], keys), "\x81\x9C");
}

TEST(HotKeyTabs, EveryHotKeyOfTheFileCountsForTheMarks) {
    const std::array<uint32_t, kHotKeyTabCount> words = {0x00010022, 0x00010021, 0x00010022, 0, 0x00070042};
    EXPECT_EQ(HotKeyTabLabel(words, 0, {}), "×次へ");
    EXPECT_EQ(HotKeyTabLabel(words, 1, {}), "●前へ");
    EXPECT_EQ(HotKeyTabLabel(words, 2, {}), "×ホームへ");
    EXPECT_EQ(HotKeyTabLabel(words, 3, {}), "メニュー");
    EXPECT_EQ(HotKeyTabLabel(words, 4, {}), "●直前へ");
    EXPECT_EQ(HotKeyTabLabel(words, 5, {}), "");
    // A desktop's key shares the back key's word.
    const std::vector<uint32_t> desktops = {0x00070031, 0x00070042};
    EXPECT_EQ(HotKeyTabLabel(words, 4, desktops), "×直前へ");
    EXPECT_EQ(HotKeyTabLabel(words, 1, desktops), "●前へ");

    // The list: the controller's words in tab order, then the desktops'.
    qvtest::FixedModeController controller;
    controller.m_dwHotKeyPrev = 0x00070031;
    for (uint32_t key : {0x00070031u, 0x00070032u, 0u}) {
        auto* desktop = controller.CreateChild();
        desktop->m_dwHotKey = key;
        controller.AddChild(desktop);
    }
    const std::vector<uint32_t> fileKeys = FileHotKeys(controller);
    EXPECT_EQ(fileKeys, (std::vector<uint32_t>{0, 0x00070031, 0, 0, 0, 0x00070031, 0x00070032, 0}));
    EXPECT_EQ(HotKeyListText(0x00070031, fileKeys), "×Ctrl+Alt+Shift+1 (31)");
    EXPECT_EQ(HotKeyListText(0x00070032, fileKeys), "Ctrl+Alt+Shift+2 (32)");
    EXPECT_EQ(HotKeyListText(0, fileKeys), "");
}

}  // namespace
