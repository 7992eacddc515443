// The viewer's tiling and picture scaling, with sizes of any extreme: a
// client area, screen and metrics as large or as negative as 32 bits go.
#include <algorithm>

#include "FuzzInput.h"
#include "ViewerRules.h"

using namespace qv::viewer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    FrameMetrics metrics;
    for (int32_t* field : {&metrics.cxEdge, &metrics.cyEdge, &metrics.cxBorder, &metrics.cyBorder, &metrics.cxFrame,
                           &metrics.cyFrame, &metrics.cxDlgFrame, &metrics.cyDlgFrame, &metrics.cyCaption,
                           &metrics.cySmCaption})
        *field = in.Int();
    const uint32_t style = in.Word();
    const uint32_t exStyle = in.Word();
    const Size area{in.Int(), in.Int()};
    const double aspect = in.Double();
    // No ring holds more desktops than a reply may carry.
    const int count = static_cast<int>(in.Word() % 1100) - 50;
    const Size client{in.Int(), in.Int()};
    const Size source{in.Int(), in.Int()};
    const Box box{in.Int(), in.Int(), in.Int(), in.Int()};

    const Size allowance = FrameAllowance(style, exStyle, metrics);
    const Size tile = TileSize(area, aspect, allowance, count);
    TilePlaces(area.width, tile, count);
    const PictureScale scale = ScalePicture(client, source, (style & 1) != 0);
    // The picture never leaves the client area.
    if (scale.size.width < 0 || scale.size.height < 0 || scale.size.width > std::max(client.width, 0) ||
        scale.size.height > std::max(client.height, 0))
        __builtin_trap();
    ScaleBox(box, scale);
    return 0;
}
