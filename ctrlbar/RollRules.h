#pragma once
// Where a rolled-up bar comes back: the `MouseOver` bits name corners and
// edges of the screen. Arithmetic only, so that the bar's mouse hook and its
// edge windows follow one rule.

#include <cstdint>

namespace qv {

// The eight places, by bit: 0 top-left pixel, 1 top row, 2 top-right pixel,
// 3 left column, 4 bottom-left pixel, 5 bottom row, 6 bottom-right pixel,
// 7 right column. Bits above these are ignored.
inline constexpr uint32_t kMouseOverBits = 0xFF;

// The one-pixel windows that catch the mouse where no other window of the
// bar lies: the left and right columns and the bottom row.
struct EdgeWindows {
    bool left = false;
    bool right = false;
    bool bottom = false;
};
EdgeWindows EdgeWindowsFor(int32_t mouseOver);

// The first place (bit number, in bit order) whose zone the point touches
// on a screen of width x height, or -1 when none of the set bits does.
int HotZoneHit(int32_t mouseOver, int x, int y, int width, int height);

}  // namespace qv
