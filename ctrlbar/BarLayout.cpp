#include "BarLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace qv {

namespace {

int NonNegative(int value) { return value < 0 ? 0 : value; }

// No screen or text is wider than this, nor does any ring hold more desktops
// than that; a broken metric beyond them (or below 0) is held to them, so
// that no sum below can overflow.
constexpr int kMaxMeasure = 1 << 16;
constexpr int kMaxDesktops = 1024;

int Measure(int value) { return std::clamp(value, 0, kMaxMeasure); }

BarMetrics Bounded(const BarMetrics& m) {
    BarMetrics b;
    b.barWidth = Measure(m.barWidth);
    b.unitWidth = Measure(m.unitWidth);
    b.frameX = Measure(m.frameX);
    b.systemWidth = Measure(m.systemWidth);
    b.pinWidth = Measure(m.pinWidth);
    b.hangerMenuWidth = Measure(m.hangerMenuWidth);
    b.knobWidth = Measure(m.knobWidth);
    b.switchMenuWidth = Measure(m.switchMenuWidth);
    for (int i = 0; i < 3; ++i) b.pageWidth[i] = Measure(m.pageWidth[i]);
    b.desktopButtonWidth = Measure(m.desktopButtonWidth);
    b.desktops = std::clamp(m.desktops, 0, kMaxDesktops);
    return b;
}

Span After(const Span& before, int width) { return Span{before.Right(), NonNegative(width)}; }

// Everything right of the title, from its end, given the hanger width; the
// switch area ends where the paging buttons start.
void PlaceFromTitle(BarLayout& layout, const BarMetrics& m, int hangerWidth, int pagesLeft) {
    layout.hangerMenu = After(layout.title, m.hangerMenuWidth);
    layout.firstKnob = After(layout.hangerMenu, m.knobWidth);
    layout.hanger = After(layout.firstKnob, hangerWidth);
    layout.switchMenu = After(layout.hanger, m.switchMenuWidth);
    layout.secondKnob = After(layout.switchMenu, m.knobWidth);
    layout.switchArea = After(layout.secondKnob, pagesLeft - layout.secondKnob.Right());
}

}  // namespace

int DesktopButtonWidth(int unitWidth) { return Measure(unitWidth) * 4 / 3; }

BarLayout LayOutBar(const BarMetrics& measured) {
    const BarMetrics m = Bounded(measured);
    BarLayout layout;
    const int pages = m.pageWidth[0] + m.pageWidth[1] + m.pageWidth[2];
    const int pagesLeft = NonNegative(m.barWidth - m.frameX - pages);
    layout.pages[0] = Span{pagesLeft, m.pageWidth[0]};
    layout.pages[1] = After(layout.pages[0], m.pageWidth[1]);
    layout.pages[2] = After(layout.pages[1], m.pageWidth[2]);
    const int desktopRow = m.desktops * m.desktopButtonWidth;
    const int knobLimit = pagesLeft - m.knobWidth;  // the second knob's right limit
    int hangerWidth = m.desktops <= 4 ? 8 * m.unitWidth : 2 * m.desktops * m.unitWidth;
    int slack = knobLimit - m.switchMenuWidth - m.knobWidth - hangerWidth - 2 * m.unitWidth -
                (m.systemWidth + m.pinWidth + m.hangerMenuWidth) - desktopRow;
    // Each unit the hanger area gives up is a unit more for the title.
    while (slack < 0 && hangerWidth > 0 && m.unitWidth > 0) {
        const int step = std::min(m.unitWidth, hangerWidth);
        hangerWidth -= step;
        slack += step;
    }
    layout.system = Span{0, NonNegative(m.systemWidth)};
    layout.pin = After(layout.system, m.pinWidth);
    layout.title = After(layout.pin, 2 * m.unitWidth + slack);
    PlaceFromTitle(layout, m, hangerWidth, pagesLeft);
    return layout;
}

BarLayout DragFirstKnob(const BarLayout& layout, int x) {
    BarLayout moved = layout;
    // Room for the system, pin and hanger-menu buttons on the left; the
    // hanger area may shrink to nothing, not past the switch menu button.
    const int least = layout.pin.Right() + layout.hangerMenu.width;
    const int most = layout.switchMenu.x - layout.firstKnob.width;
    x = std::max(least, std::min(x, most));
    moved.title.width = NonNegative(x - layout.hangerMenu.width - layout.title.x);
    moved.hangerMenu.x = moved.title.Right();
    moved.firstKnob.x = moved.hangerMenu.Right();
    moved.hanger.x = moved.firstKnob.Right();
    moved.hanger.width = NonNegative(layout.switchMenu.x - moved.hanger.x);
    return moved;
}

BarLayout DragSecondKnob(const BarLayout& layout, const BarMetrics& measured, int x) {
    const BarMetrics m = Bounded(measured);
    BarLayout moved = layout;
    const int right = layout.switchArea.Right();
    const int most = right - layout.secondKnob.width;  // the switch area closed
    const int desktopRow = m.desktops * m.desktopButtonWidth;
    // The switch area opens as far as its buttons, and the switch menu
    // button never passes the start of the hanger area.
    const int least = std::max(most - desktopRow, layout.hanger.x + layout.switchMenu.width);
    x = std::max(std::min(least, most), std::min(x, most));
    moved.switchMenu.x = x - layout.switchMenu.width;
    moved.hanger.width = NonNegative(moved.switchMenu.x - layout.hanger.x);
    moved.secondKnob.x = x;
    moved.switchArea.x = moved.secondKnob.Right();
    moved.switchArea.width = NonNegative(right - moved.switchArea.x);
    return moved;
}

int ScrollBack(int offset, int rowWidth, int areaWidth) {
    // Reckoned wide: the row's width is a sum of button widths.
    int64_t at = std::min(offset, 0);
    if (at + rowWidth < areaWidth) at = std::min<int64_t>(0, int64_t{areaWidth} - rowWidth);
    return static_cast<int>(std::max<int64_t>(at, INT_MIN));
}

}  // namespace qv
