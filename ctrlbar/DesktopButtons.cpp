#include "DesktopButtons.h"

#include <algorithm>
#include <cstdio>

namespace qv {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

constexpr uint32_t kDesktopColors[16] = {
    Rgb(32, 127, 255), Rgb(255, 32, 127), Rgb(32, 255, 127),  Rgb(255, 225, 32),
    Rgb(255, 32, 225), Rgb(32, 225, 255), Rgb(255, 127, 0),   Rgb(0, 255, 127),
    Rgb(127, 0, 255),  Rgb(16, 64, 255),  Rgb(16, 255, 64),   Rgb(255, 64, 16),
    Rgb(255, 127, 255), Rgb(255, 255, 127), Rgb(127, 255, 255), Rgb(255, 255, 255),
};

}  // namespace

uint32_t DesktopColor(int number) {
    const unsigned index = static_cast<unsigned>(number) % 16;
    return kDesktopColors[index];
}

std::string WithoutControlCharacters(const std::string& text) {
    std::string out;
    // Trail bytes of code page 932 start at 0x40 and skip 0x7F, so no byte
    // of a double-byte character is taken for a control character.
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) out += c;
    }
    return out;
}

std::string DesktopMenuText(int number, const std::string& title) {
    char head[16];
    std::snprintf(head, sizeof(head), "%d\t", number + 1);
    return head + WithoutControlCharacters(title);
}

int ClampScrollPosition(int position, int rowWidth, int areaWidth) {
    const int most = std::max(0, rowWidth - areaWidth);
    return std::clamp(position, 0, most);
}

}  // namespace qv
