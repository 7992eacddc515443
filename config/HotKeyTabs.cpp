#include "HotKeyTabs.h"

#include <algorithm>

#include "KeyNames.h"

namespace qv::config {

namespace {

constexpr const char* kTabNames[kHotKeyTabCount] = {"次へ", "前へ", "ホームへ", "メニュー", "直前へ"};
constexpr char kShared[] = "×";

bool Shared(uint32_t word, std::span<const uint32_t> fileKeys) {
    return std::count(fileKeys.begin(), fileKeys.end(), word) > 1;
}

}  // namespace

std::vector<uint32_t> FileHotKeys(const AncestryController& controller) {
    std::vector<uint32_t> keys;
    for (int i = 0; i < AncestryController::kHotKeyCount; ++i) keys.push_back(controller.HotKeyWord(i));
    for (const AncestryDesktop* desktop : controller.Desktops()) keys.push_back(desktop->m_dwHotKey);
    return keys;
}

const char* HotKeyMark(uint32_t word, std::span<const uint32_t> fileKeys) {
    if (word == 0) return "";
    return Shared(word, fileKeys) ? kShared : "●";
}

std::string HotKeyTabLabel(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab,
                           std::span<const uint32_t> desktopKeys) {
    if (tab >= kHotKeyTabCount) return std::string();
    std::vector<uint32_t> fileKeys(words.begin(), words.end());
    fileKeys.insert(fileKeys.end(), desktopKeys.begin(), desktopKeys.end());
    return std::string(HotKeyMark(words[tab], fileKeys)) + kTabNames[tab];
}

std::string HotKeyListText(uint32_t word, std::span<const uint32_t> fileKeys) {
    if (word == 0) return std::string();
    return (Shared(word, fileKeys) ? kShared : "") + HotKeyName(word);
}

}  // namespace qv::config
