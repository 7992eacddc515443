#pragma once
// The marks of hot keys in the configurator: each tab of the controller's
// hot-key dialog and each desktop of the list tells whether its key is set
// and whether another hot key of the file already uses the same one, which
// the system (or the daemon, for a desktop's key) would refuse.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "AncestryController.h"

namespace qv::config {

// The controller's hot keys in tab order: next, previous, home, menu, back.
inline constexpr size_t kHotKeyTabCount = AncestryController::kHotKeyCount;

// Every hot key a file gives, set or not: the controller's in tab order,
// then each desktop's in list order.
std::vector<uint32_t> FileHotKeys(const AncestryController& controller);

// No mark for an unset word, "×" for a word that appears more than once
// among fileKeys (which hold the word itself), "●" otherwise.
const char* HotKeyMark(uint32_t word, std::span<const uint32_t> fileKeys);

// A tab's mark followed by its name; words are the tabs' words as edited,
// desktopKeys the desktops' words, which count for the mark too.
std::string HotKeyTabLabel(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab,
                           std::span<const uint32_t> desktopKeys);

// A desktop's key as the list shows it: its name, after "×" when another
// hot key of the file has it too; empty when none is set.
std::string HotKeyListText(uint32_t word, std::span<const uint32_t> fileKeys);

}  // namespace qv::config
