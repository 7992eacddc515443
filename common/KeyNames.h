#pragma once
// Hot-key words and the names of virtual keys, as both configurators show
// and edit them. A hot-key word keeps RegisterHotKey's modifier set in its
// high half and the virtual-key code in its low half; 0 means no hot key.

#include <cstdint>
#include <string>

namespace qv {

inline constexpr uint32_t kHotKeyAlt = 0x1;
inline constexpr uint32_t kHotKeyControl = 0x2;
inline constexpr uint32_t kHotKeyShift = 0x4;
inline constexpr uint32_t kHotKeyWin = 0x8;

inline constexpr uint32_t HotKeyModifiers(uint32_t word) { return word >> 16; }
inline constexpr uint32_t HotKeyCode(uint32_t word) { return word & 0xFFFF; }

// The bare name of a virtual key ("Page Down", "F 24"); only the low 8 bits
// of the code are named, and 0 has no name.
std::string KeyName(uint32_t code);

// The key of a hot-key word as its dialog shows it: "Page Down (22)", or
// empty when the word has no key code (modifiers alone included).
std::string HotKeyText(uint32_t word);

// The whole combination as a list or a log line names it: the modifiers
// and then the key, "Ctrl+Alt+Shift+1 (31)"; empty for 0.
std::string HotKeyName(uint32_t word);

// A hot-key word as a parameter file gives it: a number as strtol reads it
// with base 0, the whole text, with no modifier beyond the four and a key
// code of at most 8 bits. The empty text is 0, no hot key. False for
// anything else, which is no hot key either.
bool ParseHotKeyWord(const char* text, uint32_t* word);

// Keys that only qualify another key; the modifiers of a hot key come from
// its check boxes, never from the key taken while sensing.
bool IsModifierKey(uint32_t code);

struct SensedKey {
    bool taken = false;  // sensing ends and the key is consumed
    uint32_t word = 0;
};
// A key pressed while sensing: a modifier key passes and leaves the word as
// it was; any other key replaces the word's key code and keeps its
// modifier set.
SensedKey SenseKey(uint32_t word, uint32_t code);

// A modifier box ticked or cleared.
uint32_t WithModifier(uint32_t word, uint32_t modifier, bool ticked);

}  // namespace qv
