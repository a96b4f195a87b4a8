// Conversion between the runtime's coordinates (origin bottom left, y up)
// and Qt's (origin top left, y down). Screen positions count from the
// bottom of the primary screen; positions within a window's content area
// from the content area's bottom.
#pragma once

#include <QRect>

#include "platform/platform.h"

// Height of the primary screen (0 when there is none).
int primaryscreenheight();

// A runtime rectangle inside an area `areaheight` high, in Qt's form;
// values are rounded and kept within the sizes Qt accepts.
QRect toqtrect(const PlatformRect& rect, int areaheight);
PlatformRect fromqtrect(const QRect& rect, int areaheight);

class QWidget;
// A child widget's frame within its parent, and placing it there; none
// and nothing for a missing widget.
PlatformRect framewithinparent(const QWidget* widget);
void placewithinparent(QWidget* widget, const PlatformRect& frame);
