#include "CommandText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using qv::CommandKind;
using qv::CommandTarget;

TEST(CommandText, PacksFirstCharacterHighestAndUnpacksBack) {
    const struct {
        const char* text;
        uint32_t packed;
        const char* unpacked;
    } cases[] = {
        {"N", 0x4E000000u, "N"},
        {"+1", 0x2B310000u, "+1"},
        {"NE", 0x4E450000u, "NE"},
        {"H+1", 0x482B3100u, "H+1"},
        {"ABCD", 0x41424344u, "ABCD"},
        {"ABCDEF", 0x41424344u, "ABCD"},  // only four travel
        {"\x95\x5C", 0x955C0000u, "\x95\x5C"},
        {"\xFC\xFC\xFC\xFC", 0xFCFCFCFCu, "\xFC\xFC\xFC\xFC"},
        {"", 0u, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qv::PackCommandText(c.text), c.packed) << c.text;
        char out[5] = {'?', '?', '?', '?', '?'};
        qv::UnpackCommandText(c.packed, out);
        EXPECT_STREQ(out, c.unpacked) << c.text;
    }
    EXPECT_EQ(qv::PackCommandText(nullptr), 0u);

    // A zero byte ends the text even when later bytes are set.
    char out[5];
    qv::UnpackCommandText(0x41004200u, out);
    EXPECT_STREQ(out, "A");
    qv::UnpackCommandText(0x00414243u, out);
    EXPECT_STREQ(out, "");
}

struct Interpretation {
    const char* text;
    CommandKind kind;
    uint32_t command;
    CommandTarget target;
    bool post;
    uint32_t lParam;
    int32_t steps;
};

TEST(CommandText, FirstCharacterChoosesTheCommand) {
    constexpr auto kThis = CommandTarget::kThisWindow;
    constexpr auto kMain = CommandTarget::kMainWindow;
    constexpr auto kNo = CommandTarget::kNone;
    const Interpretation cases[] = {
        {"+2", CommandKind::kSwitchForward, 0, kNo, false, 0, 2},
        {"+4", CommandKind::kSwitchForward, 0, kNo, false, 0, 4},
        {"+", CommandKind::kSwitchForward, 0, kNo, false, 0, 0},
        {"+ 12", CommandKind::kSwitchForward, 0, kNo, false, 0, 12},
        {"+-3", CommandKind::kSwitchForward, 0, kNo, false, 0, -3},
        {"-1", CommandKind::kSwitchBackward, 0, kNo, false, 0, 1},
        {"-0", CommandKind::kSwitchBackward, 0, kNo, false, 0, 0},
        {"-1x", CommandKind::kSwitchBackward, 0, kNo, false, 0, 1},
        {"B", CommandKind::kBack, qv::kCmdBack, kThis, false, 0, 0},
        {"C", CommandKind::kConfig, qv::kCmdConfig, kThis, false, 0, 0},
        {"E", CommandKind::kRunProgram, qv::kCmdRunProgram, kThis, false, 0, 0},
        {"G", CommandKind::kCompanion, qv::kCmdCompanion, kThis, false, 0, 0},
        {"K", CommandKind::kSnapshotSize, qv::kCmdSnapshotSize, kThis, false, 0, 0},
        {"V", CommandKind::kVersion, qv::kCmdVersion, kThis, false, 0, 0},
        // Switches carry the rest of the text on to the desktop reached.
        {"N", CommandKind::kNext, qv::kCmdNext, kMain, false, 0, 0},
        {"NE", CommandKind::kNext, qv::kCmdNext, kMain, false, 0x45000000u, 0},
        {"P2", CommandKind::kPrevious, qv::kCmdPrevious, kMain, false, 0x32000000u, 0},
        {"H", CommandKind::kHome, qv::kCmdHome, kMain, false, 0, 0},
        {"H+1", CommandKind::kHome, qv::kCmdHome, kMain, false, 0x2B310000u, 0},
        {"NNNE", CommandKind::kNext, qv::kCmdNext, kMain, false, 0x4E4E4500u, 0},
        // Sound and exit do not.
        {"S", CommandKind::kSound, qv::kCmdSound, kMain, false, 0, 0},
        {"SE", CommandKind::kSound, qv::kCmdSound, kMain, false, 0, 0},
        {"X", CommandKind::kExit, qv::kCmdExit, kMain, true, 0, 0},
        {"XN", CommandKind::kExit, qv::kCmdExit, kMain, true, 0, 0},
        // Nothing outside the table, lower case included.
        {"", CommandKind::kNone, 0, kNo, false, 0, 0},
        {"n", CommandKind::kNone, 0, kNo, false, 0, 0},
        {"Z", CommandKind::kNone, 0, kNo, false, 0, 0},
        {"1", CommandKind::kNone, 0, kNo, false, 0, 0},
        {" N", CommandKind::kNone, 0, kNo, false, 0, 0},
        {"\x95\x5C", CommandKind::kNone, 0, kNo, false, 0, 0},
    };
    for (const auto& c : cases) {
        for (const qv::CommandAction& a :
             {qv::InterpretCommandText(c.text), qv::InterpretCommandText(qv::PackCommandText(c.text))}) {
            EXPECT_EQ(a.kind, c.kind) << c.text;
            EXPECT_EQ(a.command, c.command) << c.text;
            EXPECT_EQ(a.target, c.target) << c.text;
            EXPECT_EQ(a.post, c.post) << c.text;
            EXPECT_EQ(a.lParam, c.lParam) << c.text;
            EXPECT_EQ(a.steps, c.steps) << c.text;
        }
    }
}

TEST(CommandText, RelativeWalkGoesRoundTheRing) {
    const struct {
        int from;
        int32_t steps;
        bool forward;
        int count;
        int reached;
    } cases[] = {
        {0, 4, true, 3, 1},   {0, 1, false, 3, 2},  {0, 0, true, 3, 0},   {0, 0, false, 3, 0},
        {2, 1, true, 3, 0},   {1, 5, false, 3, 2},  {1, 3, true, 3, 1},   {2, -3, true, 3, 2},
        {1, -1, false, 3, 1}, {0, 7, true, 1, 0},   {0, 7, false, 1, 0},  {1, 1, true, 2, 0},
        {2, INT32_MAX, true, 3, 0},   {0, INT32_MAX, false, 3, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::RelativeSwitchIndex(c.from, c.steps, c.forward, c.count), c.reached)
            << c.from << (c.forward ? " +" : " -") << c.steps << " of " << c.count;
}

TEST(CommandText, AbsoluteSwitchByNumberAndFromTheEnd) {
    const char* numbers[] = {"0", "1", "2", "3", "4", "5", "-1", "abc", ""};
    const struct {
        int count;
        int byNumber[9];
        int fromEnd[9];
    } rings[] = {
        {1, {0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {2, {0, 0, 1, 0, 1, 0, 0, 0, 0}, {0, 1, 0, 1, 0, 1, 0, 0, 0}},
        {3, {0, 0, 1, 2, 0, 1, 0, 0, 0}, {0, 2, 1, 0, 2, 1, 0, 0, 0}},
    };
    for (const auto& r : rings) {
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(qv::SwitchToNumberIndex(numbers[i], r.count), r.byNumber[i])
                << "request 1 \"" << numbers[i] << "\" of " << r.count;
            EXPECT_EQ(qv::SwitchFromEndIndex(numbers[i], r.count), r.fromEnd[i])
                << "request 2 \"" << numbers[i] << "\" of " << r.count;
        }
    }
}

}  // namespace
