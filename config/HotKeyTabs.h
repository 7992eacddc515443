#pragma once
// The tab labels of the four-key hot-key dialog: each tab's name after a
// mark that tells whether its hot key is set and whether another tab
// already uses the same one, which the system would refuse to register.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qv::config {

// The four daemon hot keys in tab order: next, previous, home, menu.
inline constexpr size_t kHotKeyTabCount = 4;

// No mark for an unset word, "×" for a word another tab has too, "●"
// otherwise.
const char* HotKeyTabMark(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab);

// The mark followed by the tab's name.
std::string HotKeyTabLabel(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab);

}  // namespace qv::config
