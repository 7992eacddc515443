#include "HangerRules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "DesktopButtons.h"

namespace qv {

namespace {

int64_t Area(const Box& r) {
    return static_cast<int64_t>(r.right - r.left) * static_cast<int64_t>(r.bottom - r.top);
}

// Whether a is greater than b by the key (strictly).
bool Greater(const SortFacts& a, const SortFacts& b, int32_t key) {
    switch (key) {
    case kSortByModule: return std::strcmp(a.module.c_str(), b.module.c_str()) > 0;
    case kSortByCaption: return std::strcmp(a.caption.c_str(), b.caption.c_str()) > 0;
    case kSortByArea: return Area(a.rect) > Area(b.rect);
    case kSortByTopLeft: return a.rect.left > b.rect.left && a.rect.top > b.rect.top;
    default: return a.hangOnNumber > b.hangOnNumber;
    }
}

}  // namespace

std::vector<size_t> HangerSortOrder(const std::vector<SortFacts>& facts, int32_t key, bool ascending) {
    std::vector<size_t> remaining(facts.size());
    for (size_t i = 0; i < remaining.size(); ++i) remaining[i] = i;
    std::deque<size_t> taken;
    while (!remaining.empty()) {
        size_t best = 0;
        for (size_t i = 1; i < remaining.size(); ++i) {
            if (Greater(facts[remaining[i]], facts[remaining[best]], key)) best = i;
        }
        if (ascending)
            taken.push_front(remaining[best]);
        else
            taken.push_back(remaining[best]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(best));
    }
    return std::vector<size_t>(taken.begin(), taken.end());
}

bool IsHangerClick(int dx, int dy) { return dx > -6 && dx < 6 && dy > -6 && dy < 6; }

bool DroppedOutside(const Box& button, int areaWidth, int areaHeight) {
    const Box inner{button.left + 1, button.top + 1, button.right - 1, button.bottom - 1};
    const bool meets = inner.left < areaWidth && inner.right > 0 && inner.top < areaHeight && inner.bottom > 0;
    return !meets;
}

size_t DropPlace(const std::vector<int>& otherLefts, int left) {
    for (size_t i = 0; i < otherLefts.size(); ++i) {
        if (otherLefts[i] > left) return i;
    }
    return otherLefts.size();
}

std::string HangerInfoText(const HangerFacts& f) {
    char position[96];
    std::snprintf(position, sizeof(position), "\r\n位置\t(%d,%d)-(%d,%d)", static_cast<int>(f.rect.left),
                  static_cast<int>(f.rect.top), static_cast<int>(f.rect.right), static_cast<int>(f.rect.bottom));
    char ids[64];
    std::snprintf(ids, sizeof(ids), "\r\nPID\t0x%08X\r\nHWND\t0x%08X", static_cast<unsigned>(f.processId),
                  static_cast<unsigned>(f.window));
    return "ﾓｼﾞｭｰﾙ\t" + WithoutControlCharacters(f.module) + "\r\nｷｬﾌﾟｼｮﾝ\t" + WithoutControlCharacters(f.caption) +
           "\r\nﾃﾞｽｸﾄｯﾌﾟ\t" + WithoutControlCharacters(f.desktopTitle) + position + "\r\nﾌﾙﾊﾟｽ\t" +
           WithoutControlCharacters(f.modulePath) + "\r\nｸﾗｽ名\t" + WithoutControlCharacters(f.className) + ids;
}

std::string HangerMenuText(const std::string& module, const std::string& caption) {
    return WithoutControlCharacters(module) + " " + WithoutControlCharacters(caption);
}

Place DialogPlace(const Box& button, int width, int height, int screenWidth, int screenHeight) {
    constexpr int kMargin = 16;
    int x = (button.left + button.right) / 2 - width / 2;
    x = std::max(kMargin, std::min(x, screenWidth - kMargin - width));
    int y = button.bottom;
    if (y + height > screenHeight - kMargin) y = screenHeight - kMargin - height;
    return Place{x, y};
}

}  // namespace qv
