// The task switch tool's rules: its command line, which windows it lists,
// the texts of its list and its order.

#include <gtest/gtest.h>

#include <string>

#include "CommandText.h"
#include "SwitchRules.h"

namespace {

using namespace qv;
using namespace qv::taskswitch;

struct LineCase {
    const char* line;
    RunMode mode;
    unsigned long waitMs;
};

std::string Describe(RunMode mode) {
    switch (mode) {
    case RunMode::kUsage: return "usage";
    case RunMode::kDialog: return "dialog";
    case RunMode::kAllDesktops: return "all";
    case RunMode::kOwnDesktop: return "own";
    }
    return "?";
}

TEST(TaskSwitchCommandLine, OptionsChooseTheModeAndTheWait) {
    const LineCase cases[] = {
        {"", RunMode::kDialog, 0},
        {"-D", RunMode::kOwnDesktop, 0},
        {"-A -D", RunMode::kAllDesktops, 0},
        {"-D -A", RunMode::kAllDesktops, 0},  // -A wins wherever it stands
        {"-a -d", RunMode::kDialog, 0},      // names compare case-sensitively
        {"-t 500 -D", RunMode::kOwnDesktop, 500},
        {"-t", RunMode::kDialog, 0},
        {"-t -5", RunMode::kDialog, 0},        // -5 is an option name: -t has no value
        {"-t500 -A", RunMode::kAllDesktops, 0},  // one unknown option, ignored
        {"-t \"250\"", RunMode::kDialog, 250},   // one pair of quotes goes
        {"-t \"-5\"", RunMode::kDialog, 0},      // a negative wait waits not at all
        {"-t 12abc", RunMode::kDialog, 12},      // read as atoi reads
        {"-x foo -A", RunMode::kAllDesktops, 0},
        {"+A", RunMode::kDialog, 0},
        {"-t \"a b\" -D", RunMode::kOwnDesktop, 0},  // the blank is inside quotes
        // The trail byte of 表 is '\\': it must not protect the blank after it.
        {"-t 表 -A", RunMode::kAllDesktops, 0},
        {"-t 1\\ -A", RunMode::kDialog, 1},  // a backslash keeps the blank in the word
        // Help and invalid lines show the usage text only.
        {"-A -h", RunMode::kUsage, 0},
        {"-H", RunMode::kUsage, 0},
        // "/?" is no option name (it starts with neither '-' nor '+'): alone
        // it is a value without an option, which shows the usage as well.
        {"/?", RunMode::kUsage, 0},
        {"word -A", RunMode::kUsage, 0},       // a value before any option
        {"-A 1 2", RunMode::kUsage, 0},        // a second value has no option left
        {"-t \"12", RunMode::kUsage, 0},       // unclosed quote
        {"-t 5\\", RunMode::kUsage, 0},        // trailing backslash
        {"-t \"5\\\"", RunMode::kUsage, 0},    // the closing quote is protected
    };
    for (const LineCase& c : cases) {
        SwitchCommand command = ReadSwitchCommand(c.line);
        EXPECT_EQ(Describe(command.mode), Describe(c.mode)) << c.line;
        EXPECT_EQ(command.waitMs, c.waitMs) << c.line;
    }
}

WindowFacts Ordinary() {
    WindowFacts window;
    window.visible = true;
    window.enabled = true;
    window.placementRead = true;
    window.normalWidth = 300;
    window.normalHeight = 200;
    window.className = "Notepad";
    window.caption = "memo.txt - Notepad";
    return window;
}

TEST(TaskSwitchWindows, EachExclusionHasItsOwnOptionBit) {
    ASSERT_TRUE(ListsWindow(Ordinary(), kInitialListOptions));
    struct Exclusion {
        const char* what;
        void (*make)(WindowFacts&);
        uint32_t bit;
    };
    const Exclusion exclusions[] = {
        {"invisible", [](WindowFacts& w) { w.visible = false; }, kInvisibleWindows},
        {"disabled", [](WindowFacts& w) { w.enabled = false; }, kDisabledWindows},
        {"zero size", [](WindowFacts& w) { w.normalWidth = 0; w.normalHeight = -3; }, kZeroSizes},
        {"owned", [](WindowFacts& w) { w.owned = true; }, kOwnedWindows},
        {"no caption", [](WindowFacts& w) { w.caption.clear(); }, kEmptyCaptions},
        {"shell", [](WindowFacts& w) { w.className = "Progman"; w.caption = "Program Manager"; }, kProgramManager},
    };
    for (const Exclusion& e : exclusions) {
        WindowFacts window = Ordinary();
        e.make(window);
        EXPECT_FALSE(ListsWindow(window, 0x7F & ~e.bit)) << e.what << ": only its own bit lets it in";
        EXPECT_TRUE(ListsWindow(window, e.bit)) << e.what;
    }
    // One positive side is enough to count as sized.
    WindowFacts flat = Ordinary();
    flat.normalHeight = 0;
    EXPECT_TRUE(ListsWindow(flat, 0));
    // The shell is told by class and caption together.
    WindowFacts shellClass = Ordinary();
    shellClass.className = "Progman";
    EXPECT_TRUE(ListsWindow(shellClass, 0));
}

TEST(TaskSwitchWindows, OwnProcessUnreadablePlacementAndTheBarAreNeverListed) {
    WindowFacts own = Ordinary();
    own.ownProcess = true;
    EXPECT_FALSE(ListsWindow(own, 0x7F));
    WindowFacts unplaced = Ordinary();
    unplaced.placementRead = false;
    EXPECT_FALSE(ListsWindow(unplaced, 0x7F));
    WindowFacts bar = Ordinary();
    bar.className = "QVControlBar:ThreadWindow for Quorvel";
    bar.caption = "QVControlBar for Quorvel";
    EXPECT_FALSE(ListsWindow(bar, 0x7F));
    bar.caption = "QVControlBar";
    EXPECT_TRUE(ListsWindow(bar, 0));
}

TEST(TaskSwitchTexts, ControlBytesGoDoubleByteCharactersStayWhole) {
    EXPECT_EQ(CleanCaption("a\tb\r\n c\x1F"), "ab c");
    // A lead byte takes its second byte whatever it is.
    EXPECT_EQ(CleanCaption("\x81\x1F\x01x"), "\x81\x1Fx");
    EXPECT_EQ(CleanCaption("仕事\t"), "仕事");
    EXPECT_EQ(UpperCaseModule("notepad.exe"), "NOTEPAD.EXE");
    // ｱ is single-byte and stays; the 'a' after the lead byte 0x83 is a trail byte.
    EXPECT_EQ(UpperCaseModule("ｱ\x83" "a.exe"), "ｱ\x83" "a.EXE");
    EXPECT_EQ(DesktopTitle("\x01\x02\t", "User_Desktop2"), "User_Desktop2");
    EXPECT_EQ(DesktopTitle("仕事\n", "User_Desktop2"), "仕事");
}

TEST(TaskSwitchTexts, TheSwitchRequestCountsFromOne) {
    EXPECT_EQ(SwitchText(0), "+1");
    EXPECT_EQ(qv::PackCommandText(SwitchText(11).c_str()), 0x2B313200u);
}

TEST(TaskSwitchSort, ASecondClickTurnsTheOrderAndTheHeaderSaysWhich) {
    SortOrder order;
    EXPECT_EQ(order.HeaderText(0, "ﾓｼﾞｭｰﾙ"), "ﾓｼﾞｭｰﾙ");  // nothing sorted yet
    order.Click(1);
    EXPECT_EQ(order.HeaderText(1, "ｷｬﾌﾟｼｮﾝ"), "ｷｬﾌﾟｼｮﾝ ▲");
    EXPECT_LT(order.Compare("abc", "abd"), 0);
    order.Click(1);
    EXPECT_EQ(order.HeaderText(1, "ｷｬﾌﾟｼｮﾝ"), "ｷｬﾌﾟｼｮﾝ ▼");
    EXPECT_GT(order.Compare("abc", "abd"), 0);
    EXPECT_EQ(order.Compare("same", "same"), 0);
    order.Click(2);  // another column starts ascending
    EXPECT_TRUE(order.Ascending());
    EXPECT_EQ(order.HeaderText(1, "ｷｬﾌﾟｼｮﾝ"), "ｷｬﾌﾟｼｮﾝ");
    // Bytes compare unsigned: a double-byte character sorts after ASCII.
    EXPECT_GT(order.Compare("仕事", "zzz"), 0);
    order.Click(2);
    order.SortAscending(2);  // a refill sorts ascending by the same column
    EXPECT_EQ(order.HeaderText(2, "ﾃﾞｽｸﾄｯﾌﾟ"), "ﾃﾞｽｸﾄｯﾌﾟ ▲");
}

TEST(TaskSwitchButtons, ViewOnlyListsOfferNothingAndDropTheSelection) {
    for (uint32_t bit = 0x02; bit <= 0x40; bit <<= 1) {
        ButtonStates states = DecideButtons(kUpperCaseModules | bit, 1, true);
        EXPECT_TRUE(states.deselectAll) << bit;
        EXPECT_FALSE(states.activate || states.hangOn) << bit;
    }
    ButtonStates none = DecideButtons(0, 0, true);
    EXPECT_FALSE(none.activate || none.hangOn || none.deselectAll);
    ButtonStates one = DecideButtons(kUpperCaseModules, 1, true);
    EXPECT_TRUE(one.activate && one.hangOn);
    EXPECT_FALSE(one.deselectAll);
    ButtonStates two = DecideButtons(kUpperCaseModules, 2, true);
    EXPECT_FALSE(two.activate);
    EXPECT_TRUE(two.hangOn);
    EXPECT_FALSE(DecideButtons(kUpperCaseModules, 1, false).hangOn);  // no bar at start
}

}  // namespace
