#include "ViewerRules.h"

#include <algorithm>
#include <climits>

namespace qv::viewer {

namespace {

// Sizes are reckoned wide and held to 32 bits at the end: the window
// rectangles scaled here belong to other programs, and the desktop sizes
// come through the pipe, so none of them is bounded by anything we measure.
int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Toward zero, as a cast would, but never outside 32 bits (NaN is 0).
int32_t Saturate(double value) {
    if (!(value == value)) return 0;
    if (value <= INT32_MIN) return INT32_MIN;
    if (value >= INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

// How many windows of the size fit into the area, row by row; none for a
// size without room (a window without a client area is one).
int64_t Fits(Size area, Size child) {
    if (child.width <= 0 || child.height <= 0) return 0;
    return static_cast<int64_t>(area.height / child.height) * (area.width / child.width);
}

int64_t Area(Size size) { return static_cast<int64_t>(size.width) * size.height; }

}  // namespace

Size FrameAllowance(uint32_t style, uint32_t exStyle, const FrameMetrics& m) {
    int64_t width = 0;
    int64_t height = 0;
    if (exStyle & kExStyleClientEdge) {
        width += m.cxEdge;
        height += m.cyEdge;
    }
    if (style & kStyleBorder) {
        width += m.cxBorder;
        height += m.cyBorder;
    }
    if (style & kStyleThickFrame) {
        width += m.cxFrame;
        height += m.cyFrame;
    }
    if (style & kStyleDlgFrame) {
        width += m.cxDlgFrame;
        height += m.cyDlgFrame;
    }
    if (style & kStyleCaption) height += (exStyle & kExStyleToolWindow) ? m.cySmCaption : m.cyCaption;
    return Size{Saturate(width), Saturate(height)};
}

Size TileSize(Size area, double aspect, Size allowance, int count) {
    if (area.width < 2 || area.height < 2 || count <= 0 || !(aspect > 0)) return Size{};
    // By rows: the fewest rows whose height leaves room for every window.
    Size byRows;
    for (int rows = 1; rows <= count; ++rows) {
        const int32_t clientHeight = Saturate((area.height - int64_t{rows} * allowance.height) / rows);
        byRows = clientHeight > 0 ? Size{Saturate(int64_t{Saturate(clientHeight * aspect)} + allowance.width),
                                         Saturate(int64_t{allowance.height} + clientHeight)}
                                  : Size{};
        if (Fits(area, byRows) >= count) break;
    }
    // By columns, the same from the width.
    Size byColumns;
    for (int columns = 1; columns <= count; ++columns) {
        const int32_t clientWidth = Saturate((area.width - int64_t{columns} * allowance.width) / columns);
        byColumns = clientWidth > 0 ? Size{Saturate(int64_t{allowance.width} + clientWidth),
                                           Saturate(int64_t{Saturate(clientWidth / aspect)} + allowance.height)}
                                    : Size{};
        if (Fits(area, byColumns) >= count) break;
    }
    // A size that lets no window be placed at all counts as no area.
    const int64_t rowsArea = Fits(area, byRows) > 0 ? Area(byRows) : 0;
    const int64_t columnsArea = Fits(area, byColumns) > 0 ? Area(byColumns) : 0;
    return rowsArea > columnsArea ? byRows : byColumns;
}

std::vector<Point> TilePlaces(int32_t areaWidth, Size child, int count) {
    std::vector<Point> places;
    int64_t x = 0;
    int64_t y = 0;
    for (int i = 0; i < count; ++i) {
        if (x > 0 && x + child.width > areaWidth) {
            x = 0;
            y += child.height;
        }
        places.push_back(Point{Saturate(x), Saturate(y)});
        x += child.width;
    }
    return places;
}

PictureScale ScalePicture(Size client, Size source, bool keepAspect) {
    PictureScale scale;
    if (client.width <= 0 || client.height <= 0 || source.width <= 0 || source.height <= 0) return scale;
    double x = client.width;
    double y = client.height;
    if (keepAspect) {
        const double ratio = static_cast<double>(source.width) / source.height;
        if (x / y < ratio)
            y = static_cast<int32_t>(x / ratio);
        else
            x = static_cast<int32_t>(ratio * y);
    }
    scale.size = Size{static_cast<int32_t>(x), static_cast<int32_t>(y)};
    scale.sx = scale.size.width / static_cast<double>(source.width);
    scale.sy = scale.size.height / static_cast<double>(source.height);
    return scale;
}

Box ScaleBox(const Box& screen, const PictureScale& scale) {
    return Box{Saturate(screen.left * scale.sx), Saturate(screen.top * scale.sy), Saturate(screen.right * scale.sx),
               Saturate(screen.bottom * scale.sy)};
}

}  // namespace qv::viewer
