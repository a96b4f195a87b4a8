#include "frontends/qt/port.h"

platform::Port qtport()
{
    platform::Port port;
    addapplication(port);
    addwindows(port);
    addgraphicviews(port);
    addtextviews(port);
    addmenus(port);
    addpasteboard(port);
    addpanels(port);
    addmessagebox(port);
    addsound(port);
    return port;
}
