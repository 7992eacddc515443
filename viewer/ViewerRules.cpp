#include "ViewerRules.h"

#include <windows.h>

namespace qv::viewer {

Size FrameAllowance(uint32_t style, uint32_t exStyle, const FrameMetrics& m) {
    Size allowance;
    if (exStyle & WS_EX_CLIENTEDGE) {
        allowance.width += m.cxEdge;
        allowance.height += m.cyEdge;
    }
    if (style & WS_BORDER) {
        allowance.width += m.cxBorder;
        allowance.height += m.cyBorder;
    }
    if (style & WS_THICKFRAME) {
        allowance.width += m.cxFrame;
        allowance.height += m.cyFrame;
    }
    if (style & WS_DLGFRAME) {
        allowance.width += m.cxDlgFrame;
        allowance.height += m.cyDlgFrame;
    }
    if (style & WS_CAPTION) allowance.height += (exStyle & WS_EX_TOOLWINDOW) ? m.cySmCaption : m.cyCaption;
    return allowance;
}

namespace {

// How many windows of the size fit into the area, row by row; none for a
// size without room (a window without a client area is one).
int64_t Fits(Size area, Size child) {
    if (child.width <= 0 || child.height <= 0) return 0;
    return static_cast<int64_t>(area.height / child.height) * (area.width / child.width);
}

int64_t Area(Size size) { return static_cast<int64_t>(size.width) * size.height; }

}  // namespace

Size TileSize(Size area, double aspect, Size allowance, int count) {
    if (area.width < 2 || area.height < 2 || count <= 0 || !(aspect > 0)) return Size{};
    // By rows: the fewest rows whose height leaves room for every window.
    Size byRows;
    for (int rows = 1; rows <= count; ++rows) {
        const int32_t clientHeight = (area.height - rows * allowance.height) / rows;
        byRows = clientHeight > 0 ? Size{static_cast<int32_t>(clientHeight * aspect) + allowance.width,
                                         allowance.height + clientHeight}
                                  : Size{};
        if (Fits(area, byRows) >= count) break;
    }
    // By columns, the same from the width.
    Size byColumns;
    for (int columns = 1; columns <= count; ++columns) {
        const int32_t clientWidth = (area.width - columns * allowance.width) / columns;
        byColumns = clientWidth > 0 ? Size{allowance.width + clientWidth,
                                           static_cast<int32_t>(clientWidth / aspect) + allowance.height}
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
    Point next;
    for (int i = 0; i < count; ++i) {
        if (next.x > 0 && next.x + child.width > areaWidth) next = Point{0, next.y + child.height};
        places.push_back(next);
        next.x += child.width;
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
    return Box{static_cast<int32_t>(screen.left * scale.sx), static_cast<int32_t>(screen.top * scale.sy),
               static_cast<int32_t>(screen.right * scale.sx), static_cast<int32_t>(screen.bottom * scale.sy)};
}

}  // namespace qv::viewer
