// Where a graphic window's image goes: into its view, as the largest
// rectangle of the image's shape that fits, centred on whole device pixels;
// and the window itself on a screen too small for it. Plain geometry,
// without widgets: painting, mouse clicks and repainting a band of changed
// rows all map through the same numbers.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

// Whole multiples keep every image pixel a sharp block; any other scale
// blends neighbouring pixels so that text stays legible.
enum class ScaleMode { nearest, smooth };

struct ViewGeometry {
    double devicepixelratio = 1;
    // The image's place in device pixels of the view, and in its points.
    QRect devicetarget;
    QRectF target;
    // Device pixels per image pixel, across and down.
    double scalex = 0;
    double scaley = 0;
    ScaleMode mode = ScaleMode::nearest;
};

// The image (`image` pixels) in a view of `view` points on a screen with
// `devicepixelratio` device pixels per point. Shrinking scales to the exact
// fit, smoothly. Enlarging uses the largest whole multiple that fits when
// the exact fit is less than 3 % larger; otherwise it scales to the exact
// fit, smoothly: a window made larger shows a larger image, and the crisp
// multiples are there when the window is (nearly) a multiple of the image.
ViewGeometry viewgeometry(QSize image, QSizeF view, double devicepixelratio);

// The image pixel drawn under a point of the view, rounded down. Points in
// the letterbox around the image give columns or rows below 0 (left,
// above) or from the image's width or height on (right, below).
QPoint imagepixelat(const ViewGeometry& geometry, QPointF point);

// The part of the view, in whole points, whose pixels show image rows
// `first` to `last` (0-based, inclusive); a smooth scale blends in the row
// on either side. Empty when no row of the range is in the image.
QRect viewrectofrows(const ViewGeometry& geometry, QSize image, int first, int last);

// The largest size of `natural`'s shape that fits into `available`, in
// whole points; `natural` itself when it fits (or when either is empty:
// no screen known).
QSize fittedsize(QSize natural, QSize available);
