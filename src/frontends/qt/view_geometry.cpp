#include "frontends/qt/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// An exact fit this little above a whole multiple is drawn at the multiple:
// a few device pixels more of margin instead of a blurred image.
constexpr double snapabovemultiple = 0.03;

// Sizes reach here as doubles from points times a ratio; a hair below a
// whole number is that number.
constexpr double epsilon = 1e-6;

int wholedevicepixels(double points, double ratio)
{
    return std::max(0, int(std::floor(points * ratio + epsilon)));
}

}  // namespace

ViewGeometry viewgeometry(QSize image, QSizeF view, double devicepixelratio)
{
    ViewGeometry g;
    g.devicepixelratio = std::isfinite(devicepixelratio) && devicepixelratio > 0 ? devicepixelratio : 1;
    const double ratio = g.devicepixelratio;
    const int viewwidth = wholedevicepixels(view.width(), ratio);
    const int viewheight = wholedevicepixels(view.height(), ratio);
    if (image.isEmpty() || viewwidth == 0 || viewheight == 0)
        return g;
    const double fit = std::min(double(viewwidth) / image.width(), double(viewheight) / image.height());
    const double multiple = std::floor(fit + epsilon);
    int width, height;
    if (multiple >= 1 && fit < multiple * (1 + snapabovemultiple)) {
        width = image.width() * int(multiple);
        height = image.height() * int(multiple);
    } else {
        width = std::clamp(int(std::lround(image.width() * fit)), 1, viewwidth);
        height = std::clamp(int(std::lround(image.height() * fit)), 1, viewheight);
    }
    g.devicetarget = QRect((viewwidth - width) / 2, (viewheight - height) / 2, width, height);
    g.target = QRectF(g.devicetarget.x() / ratio, g.devicetarget.y() / ratio, width / ratio, height / ratio);
    g.scalex = double(width) / image.width();
    g.scaley = double(height) / image.height();
    const bool whole = width % image.width() == 0 && height % image.height() == 0 &&
                       width / image.width() == height / image.height();
    g.mode = whole ? ScaleMode::nearest : ScaleMode::smooth;
    return g;
}

QPoint imagepixelat(const ViewGeometry& g, QPointF point)
{
    if (g.scalex <= 0 || g.scaley <= 0)
        return QPoint(-1, -1);
    const double x = (point.x() * g.devicepixelratio - g.devicetarget.x()) / g.scalex;
    const double y = (point.y() * g.devicepixelratio - g.devicetarget.y()) / g.scaley;
    const auto whole = [](double value) {
        return int(std::clamp(std::floor(value), -1e9, 1e9));
    };
    return QPoint(whole(x), whole(y));
}

QRect viewrectofrows(const ViewGeometry& g, QSize image, int first, int last)
{
    if (g.scaley <= 0 || image.isEmpty())
        return {};
    first = std::max(first, 0);
    last = std::min(last, image.height() - 1);
    if (first > last)
        return {};
    if (g.mode == ScaleMode::smooth) {
        first = std::max(first - 1, 0);
        last = std::min(last + 1, image.height() - 1);
    }
    const double ratio = g.devicepixelratio;
    const QRect& t = g.devicetarget;
    const double top = t.y() + std::floor(first * g.scaley);
    const double bottom = t.y() + std::ceil((last + 1) * g.scaley);
    const int left = int(std::floor(t.x() / ratio + epsilon));
    const int right = int(std::ceil((t.x() + t.width()) / ratio - epsilon));
    const int upper = int(std::floor(top / ratio + epsilon));
    const int lower = int(std::ceil(bottom / ratio - epsilon));
    return QRect(left, upper, right - left, lower - upper);
}

QSize fittedsize(QSize natural, QSize available)
{
    if (natural.isEmpty() || available.isEmpty())
        return natural;  // nothing to keep the shape of, or no screen known
    if (natural.width() <= available.width() && natural.height() <= available.height())
        return natural;
    const double scale = std::min(double(available.width()) / natural.width(),
                                  double(available.height()) / natural.height());
    // Rounded down, so the result fits even where the scale rounds up.
    return QSize(std::min(available.width(), int(std::floor(natural.width() * scale + epsilon))),
                 std::min(available.height(), int(std::floor(natural.height() * scale + epsilon))));
}
