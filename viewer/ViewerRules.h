#pragma once
// The viewer's window-free rules: the size and places of its desktop
// windows, and the scale of a desktop's picture.

#include <cstdint>
#include <vector>

namespace qv::viewer {

struct Size {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// What a window's frame and caption add to its client area, one side each.
struct FrameMetrics {
    int32_t cxEdge = 0, cyEdge = 0;
    int32_t cxBorder = 0, cyBorder = 0;
    int32_t cxFrame = 0, cyFrame = 0;
    int32_t cxDlgFrame = 0, cyDlgFrame = 0;
    int32_t cyCaption = 0, cySmCaption = 0;
};
// The style bits the allowance depends on, with the system's values (the
// viewer's window checks them against its headers), so that these rules
// build and are tested without them.
inline constexpr uint32_t kStyleBorder = 0x00800000;      // WS_BORDER
inline constexpr uint32_t kStyleDlgFrame = 0x00400000;    // WS_DLGFRAME
inline constexpr uint32_t kStyleCaption = 0x00C00000;     // WS_CAPTION: either of the two above
inline constexpr uint32_t kStyleThickFrame = 0x00040000;  // WS_THICKFRAME
inline constexpr uint32_t kExStyleClientEdge = 0x00000200;  // WS_EX_CLIENTEDGE
inline constexpr uint32_t kExStyleToolWindow = 0x00000080;  // WS_EX_TOOLWINDOW

// The non-client allowance of windows of these styles.
Size FrameAllowance(uint32_t style, uint32_t exStyle, const FrameMetrics& metrics);

// The size of each of count desktop windows in a client area, so that all of
// them fit row by row at the screen's aspect (width / height), with the
// allowance around each client area. Empty when there is no room to reckon
// with (an area below 2 pixels, or no windows).
Size TileSize(Size area, double aspect, Size allowance, int count);

// Places for count windows of this size, row by row from the top left: a
// window that would pass the right edge starts the next row.
std::vector<Point> TilePlaces(int32_t areaWidth, Size child, int count);

// How a picture of the source size is drawn into a client area.
struct PictureScale {
    Size size;  // the picture's size, within the client area
    double sx = 0, sy = 0;
};
// Nothing to draw (an empty result) when the client area or the source is
// empty.
PictureScale ScalePicture(Size client, Size source, bool keepAspect);

struct Box {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};
// A window's place on its screen, scaled into the picture.
Box ScaleBox(const Box& screen, const PictureScale& scale);

}  // namespace qv::viewer
