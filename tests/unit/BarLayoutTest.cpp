#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "BarLayout.h"

namespace {

// A 1024-pixel screen with 16-pixel units and 3-pixel frames.
qv::BarMetrics Metrics(int desktops, int barWidth = 1024) {
    qv::BarMetrics m;
    m.barWidth = barWidth;
    m.unitWidth = 16;
    m.frameX = 3;
    m.systemWidth = m.pinWidth = m.hangerMenuWidth = m.switchMenuWidth = 22;
    m.knobWidth = 10;
    m.pageWidth[0] = m.pageWidth[1] = m.pageWidth[2] = 22;
    m.desktopButtonWidth = qv::DesktopButtonWidth(m.unitWidth);
    m.desktops = desktops;
    return m;
}

std::vector<qv::Span> InOrder(const qv::BarLayout& l) {
    return {l.system, l.pin, l.title, l.hangerMenu, l.firstKnob, l.hanger, l.switchMenu, l.secondKnob, l.switchArea,
            l.pages[0], l.pages[1], l.pages[2]};
}

// Left to right without gaps or overlaps, nothing negative, ending at the frame.
void ExpectContiguous(const qv::BarLayout& l, const qv::BarMetrics& m) {
    std::vector<qv::Span> spans = InOrder(l);
    EXPECT_EQ(spans.front().x, 0);
    for (size_t i = 0; i < spans.size(); ++i) {
        EXPECT_GE(spans[i].width, 0) << i;
        if (i > 0) {
            EXPECT_EQ(spans[i].x, spans[i - 1].Right()) << i;
        }
    }
    EXPECT_EQ(spans.back().Right(), m.barWidth - m.frameX);
}

TEST(BarLayout, FewDesktopsLeaveTheTitleTheRestAndTheSwitchAreaItsButtons) {
    EXPECT_EQ(qv::DesktopButtonWidth(16), 21);
    const qv::BarMetrics m = Metrics(3);
    const qv::BarLayout l = qv::LayOutBar(m);
    ExpectContiguous(l, m);
    EXPECT_EQ(l.hanger.width, 8 * 16);
    EXPECT_EQ(l.switchArea.width, 3 * 21);
    EXPECT_EQ(l.title.width, 656);
}

TEST(BarLayout, ManyDesktopsTakeFromTheHangerAreaAUnitAtATime) {
    // 20 desktops: the hanger area would start 640 wide; it gives up units
    // until the title has its two units and less than one more.
    const qv::BarMetrics m = Metrics(20);
    const qv::BarLayout l = qv::LayOutBar(m);
    ExpectContiguous(l, m);
    EXPECT_EQ(l.switchArea.width, 20 * 21);
    EXPECT_EQ((640 - l.hanger.width) % 16, 0);
    EXPECT_GE(l.title.width, 2 * 16);
    EXPECT_LT(l.title.width, 3 * 16);

    // A screen too small for the desktop buttons: the hanger area is gone
    // and the switch area ends at the paging buttons; one too small even
    // for the fixed buttons still gets no negative width.
    const qv::BarLayout narrow = qv::LayOutBar(Metrics(50, 400));
    EXPECT_EQ(narrow.hanger.width, 0);
    EXPECT_EQ(narrow.switchArea.Right(), narrow.pages[0].x);
    for (int width : {100, 0, -50}) {
        const qv::BarLayout t = qv::LayOutBar(Metrics(50, width));
        EXPECT_EQ(t.hanger.width, 0) << width;
        for (const qv::Span& s : InOrder(t)) EXPECT_GE(s.width, 0) << width;
    }
}

TEST(BarLayout, KnobsTradeWidthBetweenNeighboursWithinTheirLimits) {
    const qv::BarMetrics m = Metrics(3);
    const qv::BarLayout l = qv::LayOutBar(m);

    const qv::BarLayout mid = qv::DragFirstKnob(l, l.firstKnob.x - 100);
    ExpectContiguous(mid, m);
    EXPECT_EQ(mid.title.width, l.title.width - 100);
    EXPECT_EQ(mid.hanger.width, l.hanger.width + 100);
    EXPECT_EQ(qv::DragFirstKnob(l, -500).title.width, 0) << "the system, pin and menu buttons keep their room";
    EXPECT_EQ(qv::DragFirstKnob(l, 5000).hanger.width, 0) << "not past the switch menu button";
    ExpectContiguous(qv::DragFirstKnob(l, 5000), m);

    const qv::BarLayout opened = qv::DragSecondKnob(l, m, l.secondKnob.x + 40);
    ExpectContiguous(opened, m);
    EXPECT_EQ(opened.switchArea.width, l.switchArea.width - 40);
    EXPECT_EQ(opened.hanger.width, l.hanger.width + 40);
    EXPECT_EQ(qv::DragSecondKnob(l, m, 5000).switchArea.width, 0);
    EXPECT_EQ(qv::DragSecondKnob(l, m, -5000).switchArea.width, 3 * 21) << "no wider than its buttons";
    ExpectContiguous(qv::DragSecondKnob(l, m, -5000), m);
}

TEST(BarLayout, ARowThatNoLongerFillsItsAreaScrollsBackButNotPastItsStart) {
    EXPECT_EQ(qv::ScrollBack(-100, 300, 250), -50);
    EXPECT_EQ(qv::ScrollBack(-10, 300, 250), -10) << "still fills the area";
    EXPECT_EQ(qv::ScrollBack(-100, 200, 250), 0) << "a short row starts at the left";
    EXPECT_EQ(qv::ScrollBack(20, 300, 250), 0);
    EXPECT_EQ(qv::ScrollBack(0, 0, 0), 0);
}

// Broken metrics (a font or frame of absurd size, a negative width) never
// overflow: each counts as the nearest of 0 and 65536, the desktops as at
// most 1024.
TEST(BarLayout, AbsurdMetricsAreHeldToTheirBounds) {
    qv::BarMetrics absurd = Metrics(INT_MAX, INT_MAX);
    absurd.unitWidth = 0x25000000;
    absurd.knobWidth = INT_MIN;
    absurd.desktopButtonWidth = qv::DesktopButtonWidth(absurd.unitWidth);
    qv::BarMetrics bounded = Metrics(1024, 65536);
    bounded.unitWidth = 65536;
    bounded.knobWidth = 0;
    bounded.desktopButtonWidth = qv::DesktopButtonWidth(bounded.unitWidth);
    EXPECT_EQ(absurd.desktopButtonWidth, 65536 * 4 / 3);

    const qv::BarLayout l = qv::LayOutBar(absurd);
    const std::vector<qv::Span> held = InOrder(qv::LayOutBar(bounded));
    const std::vector<qv::Span> got = InOrder(l);
    for (size_t i = 0; i < held.size(); ++i) {
        EXPECT_EQ(got[i].x, held[i].x) << i;
        EXPECT_EQ(got[i].width, held[i].width) << i;
    }
    for (int x : {INT_MIN, INT_MAX}) {
        for (const qv::Span& s : InOrder(qv::DragFirstKnob(l, x))) EXPECT_GE(s.width, 0) << x;
        for (const qv::Span& s : InOrder(qv::DragSecondKnob(l, absurd, x))) EXPECT_GE(s.width, 0) << x;
    }
    // A row reckoned from absurd widths scrolls as far as 32 bits go.
    EXPECT_EQ(qv::ScrollBack(-7, INT_MIN, 100), 0);
}

}  // namespace
