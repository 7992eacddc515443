#include "HotKeyTabs.h"

namespace qv::config {

namespace {

constexpr const char* kTabNames[kHotKeyTabCount] = {"次へ", "前へ", "ホームへ", "メニュー"};

}  // namespace

const char* HotKeyTabMark(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab) {
    if (tab >= kHotKeyTabCount || words[tab] == 0) return "";
    for (size_t other = 0; other < kHotKeyTabCount; ++other) {
        if (other != tab && words[other] == words[tab]) return "×";
    }
    return "●";
}

std::string HotKeyTabLabel(std::span<const uint32_t, kHotKeyTabCount> words, size_t tab) {
    if (tab >= kHotKeyTabCount) return std::string();
    return std::string(HotKeyTabMark(words, tab)) + kTabNames[tab];
}

}  // namespace qv::config
