// The runtime sees the desktop's objects only as opaque handles
// (platform/platform.h). Each handle is the address of the Qt object it
// stands for; these casts are the one place that knows it.
#pragma once

#include "platform/platform.h"

class QMenu;
class QWidget;
class GraphicView;
class TextView;

inline QWidget* towidget(PlatformWindow* window)
{
    return reinterpret_cast<QWidget*>(window);
}
inline PlatformWindow* tohandle(QWidget* window)
{
    return reinterpret_cast<PlatformWindow*>(window);
}
inline GraphicView* toview(PlatformView* view)
{
    return reinterpret_cast<GraphicView*>(view);
}
inline PlatformView* tohandle(GraphicView* view)
{
    return reinterpret_cast<PlatformView*>(view);
}
inline TextView* totextview(PlatformTextView* view)
{
    return reinterpret_cast<TextView*>(view);
}
inline PlatformTextView* tohandle(TextView* view)
{
    return reinterpret_cast<PlatformTextView*>(view);
}
inline QMenu* tomenu(PlatformMenu* menu)
{
    return reinterpret_cast<QMenu*>(menu);
}
inline PlatformMenu* tohandle(QMenu* menu)
{
    return reinterpret_cast<PlatformMenu*>(menu);
}
