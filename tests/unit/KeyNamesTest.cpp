// Hot-key words as the configurators show and edit them: the names of the
// virtual keys, sensing a key and ticking the modifiers.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "KeyNames.h"

namespace {

using namespace qv;

struct Named {
    uint32_t word;
    const char* text;
};

void ExpectTexts(std::initializer_list<Named> cases) {
    for (const Named& c : cases) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(c.word));
        EXPECT_EQ(HotKeyText(c.word), c.text) << code;
    }
}

TEST(KeyNameText, NameThenTheCodeInTwoUpperCaseHexDigits) {
    ExpectTexts({
        {0x00010022, "Page Down (22)"},
        {0x41, "A (41)"},
        {0x0D, "Retrun (0D)"},
        {0x0A, "Udnef ??? (0A)"},
        {0x0E, "Undef ??? (0E)"},
        {0x70, "F 1 (70)"},
        {0x87, "F 24 (87)"},
        {0x60, "Numpad 0 (60)"},
        {0x01, "Mouse LButton (01)"},
        {0xFE, "Oem Clear (FE)"},
    });
}

TEST(KeyNameText, OnlyTheLowEightBitsOfTheCodeAreNamed) {
    ExpectTexts({
        {0, ""},
        {0x00090000, ""},        // modifiers alone
        {0x00010100, ""},        // a code whose low byte is 0
        {0x00020141, "A (41)"},  // the bits above the low byte are not shown
        {0x000F0070, "F 1 (70)"},
    });
    EXPECT_EQ(KeyName(0), "");
    EXPECT_EQ(KeyName(0x122), "Page Down");
}

TEST(KeyNameRanges, KeysNamedByTheirPlace) {
    ExpectTexts({
        {0x30, "0 (30)"},
        {0x39, "9 (39)"},
        {0x5A, "Z (5A)"},
        {0x69, "Numpad 9 (69)"},
        {0x71, "F 2 (71)"},
        {0x7A, "F 11 (7A)"},
    });
}

TEST(KeyNameRanges, EachRangeEndsWhereTheNextBegins) {
    ExpectTexts({
        {4, "Mouse MButton (04)"},
        {5, "Undef ??? (05)"},
        {7, "Undef ??? (07)"},
        {8, "BackSpace (08)"},
        {11, "Udnef ??? (0B)"},
        {12, "Clear (0C)"},
        {15, "Undef ??? (0F)"},
        {22, "Undef ??? (16)"},
        {47, "Help (2F)"},
        {58, "Undef ??? (3A)"},
        {64, "Undef ??? (40)"},
        {91, "Left Windows (5B)"},
        {94, "Undef ??? (5E)"},
        {106, "Numpad * (6A)"},
        {108, "Numpad = (6C)"},
        {111, "Numpad / (6F)"},
        {136, "Undef ??? (88)"},
        {143, "Undef ??? (8F)"},
        {144, "Num Lock (90)"},
        {146, "Unassigned ??? (92)"},
        {160, "Left Shift (A0)"},
        {165, "Right Menu (A5)"},
        {166, "Unassigned ??? (A6)"},
        {186, "OME (BA)"},
        {193, "Unassigned ??? (C1)"},
        {219, "OME (DB)"},
        {229, "Process (E5)"},
        {230, "OME (E6)"},
        {231, "Unassigned ??? (E7)"},
        {233, "OME (E9)"},
        {246, "Attn (F6)"},
        {255, "Undef ??? (FF)"},
    });
}

// No code falls between two ranges, and no name shows its format.
TEST(KeyNameRanges, EveryCodeHasAName) {
    for (uint32_t c = 1; c <= 0xFF; ++c) {
        const std::string name = KeyName(c);
        EXPECT_FALSE(name.empty()) << c;
        EXPECT_EQ(name.find('%'), std::string::npos) << c;
    }
}

// The Japanese names reach the dialog as code page 932 bytes: half-width
// katakana in one byte each, the rest in two.
TEST(KeyNameText, JapaneseNamesAreCodePage932) {
    EXPECT_EQ(KeyName(21), "\xB6\xC0\xB6\xC5");
    EXPECT_EQ(KeyName(25), "\x91\x53\x8A\x70/\x94\xBC\x8A\x70");
    EXPECT_EQ(HotKeyText(0x00010026), "\x81\xAA (26)");
    EXPECT_EQ(KeyName(31), "\xD3\xB0\xC4\xDE\x95\xCF\x8D\x58");
}

TEST(KeyNameSensing, ModifierKeysPassAndLeaveTheWordAlone) {
    for (uint32_t code : {16u, 17u, 18u, 91u, 92u, 160u, 161u, 162u, 163u, 164u, 165u}) {
        const SensedKey sensed = SenseKey(0x00010022, code);
        EXPECT_FALSE(sensed.taken) << code;
        EXPECT_EQ(sensed.word, 0x00010022u) << code;
    }
}

TEST(KeyNameSensing, AnyOtherKeyReplacesTheCodeAndKeepsTheTickedModifiers) {
    // Shift+F5 arrives as F5; Alt stays ticked and Shift is not added.
    SensedKey sensed = SenseKey(kHotKeyAlt << 16, 0x74);
    EXPECT_TRUE(sensed.taken);
    EXPECT_EQ(sensed.word, 0x00010074u);
    EXPECT_EQ(HotKeyText(sensed.word), "F 5 (74)");
    // Keys that a dialog would otherwise act on are taken as well, and so
    // are the neighbours of the modifier codes.
    for (uint32_t code : {9u, 13u, 27u, 15u, 19u, 90u, 93u, 159u, 166u}) {
        sensed = SenseKey(0x000A0022, code);
        EXPECT_TRUE(sensed.taken) << code;
        EXPECT_EQ(sensed.word, 0x000A0000u | code) << code;
    }
    // The old code goes entirely, high byte and all.
    EXPECT_EQ(SenseKey(0x00021234, 0x41).word, 0x00020041u);
}

TEST(KeyNameModifiers, EachBoxSetsOrClearsItsOwnBitOnly) {
    uint32_t word = 0x00000022;
    word = WithModifier(word, kHotKeyControl, true);
    EXPECT_EQ(word, 0x00020022u);
    word = WithModifier(word, kHotKeyWin, true);
    EXPECT_EQ(word, 0x000A0022u);
    word = WithModifier(word, kHotKeyWin, true);  // ticking twice changes nothing
    EXPECT_EQ(word, 0x000A0022u);
    word = WithModifier(word, kHotKeyControl, false);
    EXPECT_EQ(word, 0x00080022u);
    word = WithModifier(word, kHotKeyShift, false);  // not ticked: nothing to clear
    EXPECT_EQ(word, 0x00080022u);
    EXPECT_EQ(HotKeyModifiers(word), kHotKeyWin);
    EXPECT_EQ(HotKeyCode(word), 0x22u);
    // Modifiers without a key code are a word of their own with no key text.
    const uint32_t altWin = WithModifier(WithModifier(0, kHotKeyAlt, true), kHotKeyWin, true);
    EXPECT_EQ(altWin, 0x00090000u);
    EXPECT_EQ(HotKeyText(altWin), "");
}

}  // namespace

namespace {

TEST(HotKeyWordName, ModifiersInTheirUsualOrderThenTheKey) {
    EXPECT_EQ(HotKeyName(0x00070031), "Ctrl+Alt+Shift+1 (31)");
    EXPECT_EQ(HotKeyName(0x000F0070), "Ctrl+Alt+Shift+Win+F 1 (70)");
    EXPECT_EQ(HotKeyName(0x00000022), "Page Down (22)");
    EXPECT_EQ(HotKeyName(0x00090000), "Alt+Win");
    EXPECT_EQ(HotKeyName(0), "");
}

TEST(HotKeyWordParse, OnlyAWholeNumberWithKnownModifiersAndAnEightBitKeyIsAWord) {
    struct {
        const char* text;
        bool ok;
        uint32_t word;
    } cases[] = {
        {"", true, 0},           {"0x00070031", true, 0x00070031}, {"0X0001001b", true, 0x0001001B},
        {"49", true, 0x31},      {"0", true, 0},                   {"010", true, 8},
        {"0x000F00FF", true, 0x000F00FF},
        {"0x0007003G", false, 0}, {"Ctrl+5", false, 0},            {"-1", false, 0},
        {" 0x31", false, 0},     {"0x", false, 0},                 {"09", false, 0},
        {"0x00100031", false, 0}, {"0x00070131", false, 0},        {"0x100070031", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        uint32_t word = 0xDEADBEEF;
        EXPECT_EQ(ParseHotKeyWord(c.text, &word), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(word, c.word) << '"' << c.text << '"';
    }
}

}  // namespace
