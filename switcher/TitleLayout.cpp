#include "TitleLayout.h"

#include <algorithm>

namespace qv {

int LongestTitleLine(const char* title) {
    int longest = 0, line = 0;
    for (const char* p = title; *p; ++p) {
        if (*p == '\n') {
            longest = std::max(longest, line);
            line = 0;  // the line feed belongs to the next line
        }
        ++line;
    }
    return std::max(longest, line);
}

int TitleFontSize(int screenWidth, int longestLine) {
    int divisor = longestLine <= 16 ? 8 : longestLine <= 32 ? 16 : 32;
    return std::clamp(screenWidth / divisor, 16, 128);
}

TitleBox PlaceSmallTitle(int mode, int screenWidth, int screenHeight, int width, int height) {
    const int centreX = (screenWidth - width) / 2, right = screenWidth - width;
    const int middleY = (screenHeight - height) / 2, bottom = screenHeight - height;
    TitleBox box{0, 0, width, height};
    switch (mode) {
    case 1: box.x = centreX; break;
    case 2: box.x = right; break;
    case 3: box.y = middleY; break;
    case 4: box.x = right, box.y = middleY; break;
    case 5: box.y = bottom; break;
    case 6: box.x = centreX, box.y = bottom; break;
    case 7: box.x = right, box.y = bottom; break;
    default: break;
    }
    return box;
}

TitleBox PlaceLargeTitle(int screenWidth, int screenHeight, int width, int height) {
    if (width > screenWidth || height > screenHeight) {
        width = 8 * screenWidth / 10;
        height = 8 * screenHeight / 10;
    }
    return TitleBox{(screenWidth - width) / 2, (screenHeight - height) / 2 - screenHeight / 20, width, height};
}

std::string ProgressMarks(int desktops, int progress) {
    std::string marks;
    for (int i = 0; i < desktops; ++i) marks += i <= progress ? "\x81\xA1" : "\x81\xA0";
    return marks;
}

}  // namespace qv
