// The desktop front-end's side of the outbound port: each part of the
// front-end fills in the entries it implements.
#pragma once

#include "platform/platform.h"

// The whole port, as the application installs it.
platform::Port qtport();

void addapplication(platform::Port& port);   // application.cpp: title bar height
void addwindows(platform::Port& port);       // platform_windows.cpp: lookups, frames, visibility
void addgraphicviews(platform::Port& port);  // graphic_views.cpp: marking and drawing views
void addtextviews(platform::Port& port);     // text_windows.cpp: text views and rulers
void addmenus(platform::Port& port);         // menus.cpp: menu items
void addpasteboard(platform::Port& port);    // pasteboard.cpp: the clipboard
void addpanels(platform::Port& port);        // panels.cpp: open and save panels
void addmessagebox(platform::Port& port);    // message_box.cpp: a modal warning
void addsound(platform::Port& port);         // audio.cpp: PCM and the beep
