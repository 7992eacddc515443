#pragma once
// Where the bar's buttons and areas lie across the top of the screen, how
// far its knobs may be dragged, and how a row of buttons scrolls back after a
// drag. Arithmetic only: the bar measures its text and frames, and these
// rules place everything from those sizes.

namespace qv {

// What the layout is made from, in pixels.
struct BarMetrics {
    int barWidth = 0;     // the screen width
    int unitWidth = 0;    // width of "■" plus twice the horizontal frame
    int frameX = 0;       // horizontal frame thickness
    int systemWidth = 0;  // the buttons with images: image plus twice frameX
    int pinWidth = 0;
    int hangerMenuWidth = 0;
    int knobWidth = 0;    // both knobs
    int switchMenuWidth = 0;
    int pageWidth[3] = {0, 0, 0};  // "-1", "+1", "B"
    int desktopButtonWidth = 0;    // 4/3 of the unit width
    int desktops = 0;
};

struct Span {
    int x = 0;
    int width = 0;
    int Right() const { return x + width; }
};

struct BarLayout {
    Span system, pin, title, hangerMenu, firstKnob, hanger, switchMenu, secondKnob, switchArea;
    Span pages[3];
};

// 4/3 of the unit width.
int DesktopButtonWidth(int unitWidth);

// The layout at start and after a change of the screen: the paging buttons
// end the bar; the hanger area starts 8 units wide (2 units per desktop with
// more than four desktops) and gives up a unit at a time, down to nothing,
// while the title would need less than nothing; the title takes the rest.
// No span is negative however small the screen; the switch area ends where
// the paging buttons start. A measure below 0 or above 65536 pixels, and a
// desktop count above 1024, count as the nearest of those bounds.
BarLayout LayOutBar(const BarMetrics& metrics);

// Dragging the first knob to x trades width between the title and the
// hanger area; the second knob trades it between the hanger area and the
// switch area. The menu button in front of a knob moves with it. x is kept
// within the knob's limits; the layout is returned as it is then.
BarLayout DragFirstKnob(const BarLayout& layout, int x);
BarLayout DragSecondKnob(const BarLayout& layout, const BarMetrics& metrics, int x);

// The offset (0 or negative) of a row of buttons rowWidth wide in an area
// areaWidth wide after a drag: a row that no longer reaches the area's right
// edge is moved right until it does, never past its first button.
int ScrollBack(int offset, int rowWidth, int areaWidth);

}  // namespace qv
