#pragma once
// Where and how large a desktop's title floats after a switch, and the
// progress line of the start-up logo: arithmetic only.

#include <string>

namespace qv {

struct TitleBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Longest line of a title in bytes; a line feed counts towards the line
// that follows it.
int LongestTitleLine(const char* title);
// Height of the large title font for a screen width: width / 8, / 16 or / 32
// for lines of up to 16, up to 32 or more bytes, kept within 16..128.
int TitleFontSize(int screenWidth, int longestLine);
// The small title's box for a position mode (0..7; others count as 0).
TitleBox PlaceSmallTitle(int mode, int screenWidth, int screenHeight, int width, int height);
// The large title's box: centred, lifted by a twentieth of the screen; 80 %
// of the screen when the text does not fit.
TitleBox PlaceLargeTitle(int screenWidth, int screenHeight, int width, int height);
// One mark per desktop: "■" up to the desktop that has started, "□" after it.
std::string ProgressMarks(int desktops, int progress);

}  // namespace qv
