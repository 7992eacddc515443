#include "DesktopWords.h"

#include <cstdint>

#include "CommandText.h"
#include "WindowListRules.h"

namespace qv {

namespace {

// All decimal digits; value saturates, which is out of range for any ring.
bool ReadDigits(const std::string& text, size_t from, uint64_t* value) {
    if (from >= text.size()) return false;
    uint64_t n = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (n < (uint64_t(1) << 40)) n = n * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    *value = n;
    return true;
}

DesktopMatch At(int index) { return DesktopMatch{DesktopMatch::Kind::kIndex, index}; }

}  // namespace

std::string RecordTitle(const DesktopRecord& record) { return DesktopTitle(record.name.c_str(), record.id.c_str()); }

DesktopMatch MatchDesktopWord(const std::string& word, const DesktopInformation& info, bool switchWords) {
    const int count = static_cast<int>(info.desktops.size());
    uint64_t number = 0;
    if (ReadDigits(word, 0, &number)) {
        if (number < 1 || number > static_cast<uint64_t>(count)) return DesktopMatch{DesktopMatch::Kind::kOutOfRange};
        return At(static_cast<int>(number - 1));
    }
    if (switchWords) {
        if (!word.empty() && (word[0] == '+' || word[0] == '-') && ReadDigits(word, 1, &number) && count > 0) {
            const int steps = static_cast<int>(number % static_cast<uint64_t>(count));
            return At(RelativeSwitchIndex(info.currentIndex, steps, word[0] == '+', count));
        }
        if (word == "home" && count > 0) return At(0);
        if (word == "back") return DesktopMatch{DesktopMatch::Kind::kBack};
    }
    for (int i = 0; i < count; ++i)
        if (info.desktops[i].id == word) return At(i);
    for (int i = 0; i < count; ++i)
        if (RecordTitle(info.desktops[i]) == word) return At(i);
    return DesktopMatch{};
}

}  // namespace qv
