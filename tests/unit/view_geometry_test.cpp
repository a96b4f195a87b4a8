// Where a view draws its window's image, which image pixel a point of the
// view shows, which part of the view a band of rows covers, and the size a
// window gets on a screen too small for it.
#include <gtest/gtest.h>

#include "frontends/qt/view_geometry.h"

namespace {

const QSize conversation(1280, 800);  // the conversation window's pixels

std::string describe(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

}  // namespace

// The target is the largest rectangle of the image's shape on whole device
// pixels, centred; whole multiples (and fits just above one) stay sharp,
// anything else is filtered.
TEST(ViewGeometry, TargetAndScaleMode)
{
    const struct {
        QSize image;
        QSizeF view;
        double ratio;
        QRect device;
        ScaleMode mode;
    } rows[] = {
        {conversation, {1280, 800}, 1, {0, 0, 1280, 800}, ScaleMode::nearest},
        {conversation, {2560, 1600}, 1, {0, 0, 2560, 1600}, ScaleMode::nearest},
        // HiDPI: the view's points are two device pixels each.
        {conversation, {1280, 800}, 2, {0, 0, 2560, 1600}, ScaleMode::nearest},
        {conversation, {1200, 750}, 2, {0, 0, 2400, 1500}, ScaleMode::smooth},
        // Shrunk to 0.75 with bands above and below.
        {conversation, {960, 700}, 1, {0, 50, 960, 600}, ScaleMode::smooth},
        // Height-bound at 1: bands left and right.
        {conversation, {1300, 800}, 1, {10, 0, 1280, 800}, ScaleMode::nearest},
        // Just above a multiple: the multiple, with a little more margin.
        {conversation, {1310, 830}, 1, {15, 15, 1280, 800}, ScaleMode::nearest},
        {conversation, {2600, 1700}, 1, {20, 50, 2560, 1600}, ScaleMode::nearest},
        // Well between multiples (a full screen): the exact fit, filtered.
        {conversation, {1920, 1080}, 1, {96, 0, 1728, 1080}, ScaleMode::smooth},
        // A fractional ratio: 854 x 534 points are 1281 x 801 device pixels.
        {conversation, {854, 534}, 1.5, {0, 0, 1280, 800}, ScaleMode::nearest},
        {{32, 32}, {64, 64}, 1, {0, 0, 64, 64}, ScaleMode::nearest},
        // Nothing to draw into, or nothing to draw.
        {conversation, {0, 800}, 1, {}, ScaleMode::nearest},
        {{0, 0}, {640, 400}, 1, {}, ScaleMode::nearest},
    };
    for (const auto& row : rows) {
        const ViewGeometry g = viewgeometry(row.image, row.view, row.ratio);
        SCOPED_TRACE(describe(row.device));
        EXPECT_EQ(describe(g.devicetarget), describe(row.device));
        EXPECT_EQ(g.mode, row.mode);
        EXPECT_EQ(g.target, QRectF(row.device.x() / row.ratio, row.device.y() / row.ratio,
                                   row.device.width() / row.ratio, row.device.height() / row.ratio));
    }
}

// A point of the view names the image pixel drawn under it at every size;
// the bands around the image lie before its first or past its last pixel.
TEST(ViewGeometry, PointsOfTheViewToImagePixels)
{
    const ViewGeometry shrunk = viewgeometry(conversation, {960, 700}, 1);     // 0.75, bands of 50
    const ViewGeometry doubled = viewgeometry(conversation, {2600, 1700}, 1);  // 2, margins 20 and 50
    const ViewGeometry hidpi = viewgeometry(conversation, {1280, 800}, 2);     // 1 point per pixel
    const struct {
        const ViewGeometry* geometry;
        QPointF point;
        QPoint pixel;
    } rows[] = {
        {&shrunk, {0.5, 50.5}, {0, 0}},
        {&shrunk, {959.9, 649.9}, {1279, 799}},
        // The centre of cell (10, 5) of a 16 x 32 font: pixel (152, 144).
        {&shrunk, {114.2, 158.2}, {152, 144}},
        {&shrunk, {10, 49.9}, {13, -1}},
        {&shrunk, {10, 650}, {13, 800}},
        {&doubled, {20, 50}, {0, 0}},
        {&doubled, {19.9, 49.9}, {-1, -1}},
        {&doubled, {20 + 305, 50 + 289}, {152, 144}},
        {&doubled, {2579.9, 1649.9}, {1279, 799}},
        {&doubled, {2580, 1650}, {1280, 800}},
        {&hidpi, {0.6, 0.6}, {0, 0}},
        {&hidpi, {1279.9, 799.9}, {1279, 799}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(imagepixelat(*row.geometry, row.point), row.pixel) << row.point.x() << ", " << row.point.y();
    EXPECT_EQ(imagepixelat(viewgeometry(conversation, {}, 1), {5, 5}), QPoint(-1, -1));
}

// Rows to the part of the view that shows them: whole points, the image's
// width; a filtered scale takes the neighbouring row on either side.
TEST(ViewGeometry, RowsToViewRectangles)
{
    const struct {
        QSizeF view;
        double ratio;
        int first, last;
        QRect rect;
    } rows[] = {
        {{1280, 800}, 1, 768, 799, {0, 768, 1280, 32}},        // text line 25 at 1:1
        {{2600, 1700}, 1, 768, 799, {20, 1586, 2560, 64}},     // ... doubled
        {{1280, 800}, 2, 0, 31, {0, 0, 1280, 32}},             // ... HiDPI: device rows 0..63
        {{960, 700}, 1, 32, 63, {0, 73, 960, 26}},             // rows 31..64 at 0.75 from 50
        {{960, 700}, 1, 0, 0, {0, 50, 960, 2}},                // rows 0..1: nothing above the image
        {{960, 700}, 1, 799, 900, {0, 648, 960, 2}},           // rows 798..799: clipped to the image
        {{1200, 750}, 2, 10, 10, {0, 8, 1200, 4}},             // rows 9..11: device rows 16..23
        {{960, 700}, 1, 800, 810, {}},                         // below the image
    };
    for (const auto& row : rows)
        EXPECT_EQ(describe(viewrectofrows(viewgeometry(conversation, row.view, row.ratio), conversation,
                                          row.first, row.last)),
                  describe(row.rect))
            << row.first << ".." << row.last << " in " << row.view.width() << " x " << row.view.height();
}

// A window keeps its natural size where it fits and otherwise gets the
// largest size of the same shape, rounded down.
TEST(ViewGeometry, FittedWindowSizes)
{
    const QSize natural(1328, 889);  // 1280 x 800 with margins, menu bar and title strip
    const struct {
        QSize available, fitted;
    } rows[] = {
        {{1920, 1200}, natural},
        {{1328, 889}, natural},
        {{1366, 768}, {1147, 768}},   // a laptop: height-bound
        {{1280, 800}, {1195, 800}},   // 2560 x 1600 at two device pixels per point
        {{1000, 1200}, {1000, 669}},  // width-bound
        {{}, natural},                // no screen known
    };
    for (const auto& row : rows)
        EXPECT_EQ(fittedsize(natural, row.available), row.fitted)
            << row.available.width() << " x " << row.available.height();
}
