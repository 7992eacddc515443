#include "KeyNames.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

constexpr int kPlain = -1;

// A run of codes sharing one name. A row with a base formats its name with
// the code minus that base, for the runs named by their place (digits,
// letters, numpad digits, function keys). The rows cover 1 to 255 in order.
struct KeyNameRow {
    uint8_t first;
    uint8_t last;
    const char* name;
    int base;
};

// The misspellings, the two spellings of "undefined" and "OME" are the
// names users of the suite have always seen; they are kept as they are.
constexpr KeyNameRow kKeyNames[] = {
    {1, 1, "Mouse LButton", kPlain},
    {2, 2, "Mouse RButton", kPlain},
    {3, 3, "Cancel", kPlain},
    {4, 4, "Mouse MButton", kPlain},
    {5, 7, "Undef ???", kPlain},
    {8, 8, "BackSpace", kPlain},
    {9, 9, "Tab", kPlain},
    {10, 11, "Udnef ???", kPlain},
    {12, 12, "Clear", kPlain},
    {13, 13, "Retrun", kPlain},
    {14, 15, "Undef ???", kPlain},
    {16, 16, "Shift", kPlain},
    {17, 17, "Control", kPlain},
    {18, 18, "Alt", kPlain},
    {19, 19, "Pause", kPlain},
    {20, 20, "Caps Lock", kPlain},
    {21, 21, "\xB6\xC0\xB6\xC5", kPlain},  // ｶﾀｶﾅ
    {22, 22, "Undef ???", kPlain},
    {23, 23, "\x8F\x87\x8E\x9F", kPlain},  // 順次
    {24, 24, "\x8D\xC5\x8F\x49", kPlain},  // 最終
    {25, 25, "\x91\x53\x8A\x70/\x94\xBC\x8A\x70", kPlain},  // 全角/半角
    {26, 26, "Undef ???", kPlain},
    {27, 27, "Escape", kPlain},
    {28, 28, "\x95\xCF\x8A\xB7", kPlain},  // 変換
    {29, 29, "\x96\xB3\x95\xCF\x8A\xB7", kPlain},  // 無変換
    {30, 30, "\x8A\x6D\x92\xE8", kPlain},  // 確定
    {31, 31, "\xD3\xB0\xC4\xDE\x95\xCF\x8D\x58", kPlain},  // ﾓｰﾄﾞ変更
    {32, 32, "Space", kPlain},
    {33, 33, "Page Up", kPlain},
    {34, 34, "Page Down", kPlain},
    {35, 35, "End", kPlain},
    {36, 36, "Home", kPlain},
    {37, 37, "\x81\xA9", kPlain},  // ←
    {38, 38, "\x81\xAA", kPlain},  // ↑
    {39, 39, "\x81\xA8", kPlain},  // →
    {40, 40, "\x81\xAB", kPlain},  // ↓
    {41, 41, "Select", kPlain},
    {42, 42, "\x88\xF3\x8D\xFC", kPlain},  // 印刷
    {43, 43, "\x8E\xC0\x8D\x73", kPlain},  // 実行
    {44, 44, "Print Screen", kPlain},
    {45, 45, "Insert", kPlain},
    {46, 46, "Delete", kPlain},
    {47, 47, "Help", kPlain},
    {48, 57, "%c", 0},  // the code is the digit's character
    {58, 64, "Undef ???", kPlain},
    {65, 90, "%c", 0},  // and the letter's
    {91, 91, "Left Windows", kPlain},
    {92, 92, "Right Windows", kPlain},
    {93, 93, "Applications", kPlain},
    {94, 95, "Undef ???", kPlain},
    {96, 105, "Numpad %c", 96 - '0'},
    {106, 106, "Numpad *", kPlain},
    {107, 107, "Numpad +", kPlain},
    {108, 108, "Numpad =", kPlain},
    {109, 109, "Numpad -", kPlain},
    {110, 110, "Numpad .", kPlain},
    {111, 111, "Numpad /", kPlain},
    {112, 135, "F %d", 111},
    {136, 143, "Undef ???", kPlain},
    {144, 144, "Num Lock", kPlain},
    {145, 145, "Scroll Lock", kPlain},
    {146, 159, "Unassigned ???", kPlain},
    {160, 160, "Left Shift", kPlain},
    {161, 161, "Right Shift", kPlain},
    {162, 162, "Left Control", kPlain},
    {163, 163, "Right Control", kPlain},
    {164, 164, "Left Menu", kPlain},
    {165, 165, "Right Menu", kPlain},
    {166, 185, "Unassigned ???", kPlain},
    {186, 192, "OME", kPlain},
    {193, 218, "Unassigned ???", kPlain},
    {219, 228, "OME", kPlain},
    {229, 229, "Process", kPlain},
    {230, 230, "OME", kPlain},
    {231, 232, "Unassigned ???", kPlain},
    {233, 245, "OME", kPlain},
    {246, 246, "Attn", kPlain},
    {247, 247, "CrSel", kPlain},
    {248, 248, "ExSel", kPlain},
    {249, 249, "Erase EOF", kPlain},
    {250, 250, "Play", kPlain},
    {251, 251, "Zoom", kPlain},
    {252, 252, "Noname", kPlain},
    {253, 253, "PA1", kPlain},
    {254, 254, "Oem Clear", kPlain},
    {255, 255, "Undef ???", kPlain},
};

}  // namespace

std::string KeyName(uint32_t code) {
    const unsigned c = code & 0xFF;
    for (const KeyNameRow& row : kKeyNames) {
        if (c < row.first || c > row.last) continue;
        if (row.base == kPlain) return row.name;
        char text[16];
        std::snprintf(text, sizeof text, row.name, static_cast<int>(c) - row.base);
        return text;
    }
    return std::string();
}

std::string HotKeyText(uint32_t word) {
    const unsigned c = word & 0xFF;
    if (c == 0) return std::string();
    char code[8];
    std::snprintf(code, sizeof code, " (%02X)", c);
    return KeyName(c) + code;
}

std::string HotKeyName(uint32_t word) {
    static constexpr struct {
        uint32_t modifier;
        const char* name;
    } kModifiers[] = {{kHotKeyControl, "Ctrl"}, {kHotKeyAlt, "Alt"}, {kHotKeyShift, "Shift"}, {kHotKeyWin, "Win"}};
    std::string name;
    for (const auto& m : kModifiers) {
        if (!(HotKeyModifiers(word) & m.modifier)) continue;
        if (!name.empty()) name += '+';
        name += m.name;
    }
    const std::string key = HotKeyText(word);
    if (!key.empty() && !name.empty()) name += '+';
    return name + key;
}

bool ParseHotKeyWord(const char* text, uint32_t* word) {
    *word = 0;
    if (!text || !*text) return true;
    // strtoul alone would take a sign, leading blanks and a tail of garbage.
    if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 0);
    if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull) return false;
    const uint32_t parsed = static_cast<uint32_t>(value);
    constexpr uint32_t kKnownModifiers = kHotKeyAlt | kHotKeyControl | kHotKeyShift | kHotKeyWin;
    if ((HotKeyModifiers(parsed) & ~kKnownModifiers) != 0 || HotKeyCode(parsed) > 0xFF) return false;
    *word = parsed;
    return true;
}

bool IsModifierKey(uint32_t code) {
    switch (code) {
    case 16: case 17: case 18:  // Shift, Control, Alt
    case 91: case 92:           // the Windows keys
        return true;
    default:
        return code >= 160 && code <= 165;  // their left and right forms
    }
}

SensedKey SenseKey(uint32_t word, uint32_t code) {
    if (IsModifierKey(code)) return SensedKey{false, word};
    return SensedKey{true, (word & 0xFFFF0000u) | (code & 0xFFFF)};
}

uint32_t WithModifier(uint32_t word, uint32_t modifier, bool ticked) {
    const uint32_t bit = (modifier & 0xFFFF) << 16;
    return ticked ? (word | bit) : (word & ~bit);
}

}  // namespace qv
