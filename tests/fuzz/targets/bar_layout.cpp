// The bar's layout and its knobs, with screens and measures of any size.
#include "BarLayout.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    qv::BarMetrics m;
    for (int* field : {&m.barWidth, &m.unitWidth, &m.frameX, &m.systemWidth, &m.pinWidth, &m.hangerMenuWidth,
                       &m.knobWidth, &m.switchMenuWidth, &m.pageWidth[0], &m.pageWidth[1], &m.pageWidth[2],
                       &m.desktopButtonWidth, &m.desktops})
        *field = in.Int();
    const int first = in.Int();
    const int second = in.Int();
    const int offset = in.Int();
    const int row = in.Int();
    const int area = in.Int();

    qv::DesktopButtonWidth(m.unitWidth);
    const qv::BarLayout layout = qv::LayOutBar(m);
    const qv::BarLayout dragged = qv::DragSecondKnob(qv::DragFirstKnob(layout, first), m, second);
    (void)dragged;
    qv::ScrollBack(offset, row, area);
    return 0;
}
