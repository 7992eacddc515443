#include "RollRules.h"

namespace qv {

namespace {

bool Bit(int32_t mouseOver, int bit) { return (static_cast<uint32_t>(mouseOver) >> bit) & 1u; }

}  // namespace

EdgeWindows EdgeWindowsFor(int32_t mouseOver) {
    // A bottom row window covers the bottom corners too, so the corner bits
    // need a column window only without it.
    EdgeWindows edges;
    edges.bottom = Bit(mouseOver, 5);
    edges.left = Bit(mouseOver, 3) || (Bit(mouseOver, 4) && !edges.bottom);
    edges.right = Bit(mouseOver, 7) || (Bit(mouseOver, 6) && !edges.bottom);
    return edges;
}

int HotZoneHit(int32_t mouseOver, int x, int y, int width, int height) {
    const bool top = y == 0, bottom = y == height - 1, left = x == 0, right = x == width - 1;
    const bool inZone[8] = {top && left, top, top && right, left, bottom && left, bottom, bottom && right, right};
    for (int bit = 0; bit < 8; ++bit)
        if (Bit(mouseOver, bit) && inZone[bit]) return bit;
    return -1;
}

}  // namespace qv
