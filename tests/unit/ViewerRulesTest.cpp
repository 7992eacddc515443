// The viewer's window-free rules: the size and places of its desktop
// windows, and the scale of a desktop's picture.

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>

#include "ViewerRules.h"

namespace {

using namespace qv::viewer;

TEST(ViewerTiling, ThreeDesktopsOnAFourToThreeScreenTakeTwoPerRow) {
    const Size tile = TileSize(Size{1000, 600}, 4.0 / 3.0, Size{8, 27}, 3);
    EXPECT_EQ(tile, (Size{372, 300}));
    const std::vector<Point> places = TilePlaces(1000, tile, 3);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[1].x, 372);
    EXPECT_EQ(places[1].y, 0);
    EXPECT_EQ(places[2].x, 0);  // a third would pass the right edge
    EXPECT_EQ(places[2].y, 300);
}

TEST(ViewerTiling, EveryWindowFitsWheneverOneDoes) {
    for (int count = 1; count <= 32; ++count) {
        for (const Size area : {Size{1000, 600}, Size{300, 900}, Size{1600, 200}, Size{97, 61}}) {
            const Size tile = TileSize(area, 4.0 / 3.0, Size{8, 27}, count);
            if (tile.width <= 0 || tile.height <= 0) continue;
            if (tile.width > area.width || tile.height > area.height) continue;  // not even one fits
            const std::vector<Point> places = TilePlaces(area.width, tile, count);
            for (const Point& place : places) {
                EXPECT_LE(place.x + tile.width, area.width) << count << " in " << area.width << "x" << area.height;
                EXPECT_LE(place.y + tile.height, area.height) << count << " in " << area.width << "x" << area.height;
            }
        }
    }
    // Too small an area, or nothing to place: no size at all.
    EXPECT_EQ(TileSize(Size{1, 600}, 4.0 / 3.0, Size{8, 27}, 3), Size{});
    EXPECT_EQ(TileSize(Size{1000, 600}, 4.0 / 3.0, Size{8, 27}, 0), Size{});
    // An allowance larger than the area leaves no room: no division by it.
    EXPECT_EQ(TileSize(Size{20, 20}, 4.0 / 3.0, Size{30, 40}, 5), Size{});
}

TEST(ViewerTiling, TheAllowanceComesFromTheFramesStylesOneSideEach) {
    FrameMetrics m;
    m.cxBorder = m.cyBorder = 1;
    m.cxFrame = m.cyFrame = 4;
    m.cxDlgFrame = m.cyDlgFrame = 3;
    m.cxEdge = m.cyEdge = 2;
    m.cyCaption = 19;
    m.cySmCaption = 15;
    EXPECT_EQ(FrameAllowance(WS_OVERLAPPEDWINDOW, 0, m), (Size{8, 27}));
    EXPECT_EQ(FrameAllowance(WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, m), (Size{10, 25}));
    EXPECT_EQ(FrameAllowance(WS_POPUP, 0, m), Size{});
}

TEST(ViewerPicture, KeepingTheAspectShrinksTheLongerSide) {
    PictureScale wide = ScalePicture(Size{400, 100}, Size{1024, 768}, true);
    EXPECT_EQ(wide.size, (Size{133, 100}));
    PictureScale tall = ScalePicture(Size{300, 400}, Size{1024, 768}, true);
    EXPECT_EQ(tall.size, (Size{300, 225}));
    PictureScale free = ScalePicture(Size{400, 100}, Size{1024, 768}, false);
    EXPECT_EQ(free.size, (Size{400, 100}));
    EXPECT_EQ(ScaleBox(Box{512, 384, 1024, 768}, free), (Box{200, 50, 400, 100}));
    // Nothing to draw into, or nothing to draw.
    EXPECT_EQ(ScalePicture(Size{0, 100}, Size{1024, 768}, false).size, Size{});
    EXPECT_EQ(ScalePicture(Size{400, 100}, Size{1024, 0}, true).size, Size{});
}

// The desktop sizes come through the pipe and the rectangles from other
// programs' windows: sizes at the ends of 32 bits saturate, never wrap.
TEST(ViewerExtremes, SizesBeyondThirtyTwoBitsSaturate) {
    FrameMetrics m;
    m.cxEdge = m.cxBorder = INT_MAX;
    m.cyEdge = m.cyBorder = INT_MIN;
    EXPECT_EQ(FrameAllowance(WS_BORDER, WS_EX_CLIENTEDGE, m), (Size{INT_MAX, INT_MIN}));

    const PictureScale thousandfold = ScalePicture(Size{1000, 1000}, Size{1, 1}, false);
    EXPECT_EQ(ScaleBox(Box{INT_MAX, INT_MIN, 5, -5}, thousandfold), (Box{INT_MAX, INT_MIN, 5000, -5000}));

    // However tall the caption, no side of a tile wraps round to negative.
    const Size tall = TileSize(Size{1000, 1000}, 1.0, Size{0, INT_MAX}, 10);
    EXPECT_GE(tall.width, 0);
    EXPECT_GE(tall.height, 0);
    const std::vector<Point> distant = TilePlaces(INT_MAX, Size{INT_MAX, INT_MAX}, 3);
    ASSERT_EQ(distant.size(), 3u);
    EXPECT_EQ(distant[2].x, 0);
    EXPECT_EQ(distant[2].y, INT_MAX);
}

}  // namespace
