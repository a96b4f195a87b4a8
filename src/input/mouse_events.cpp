// Mouse clicks: the event queue, the button state and the handler tasks
// that call the program's mouse and menu handlers.
#include "input/mouse_events.h"

#include <algorithm>
#include <cmath>

#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

std::mutex t_MouseEventsLock;
std::deque<t_Event> t_MouseEvents;
relaxed<bool> t_MouseEventAvailable;
relaxed<bool> t_LeftMouseButtonPressed;
relaxed<bool> t_RightMouseButtonPressed;
t_Function t_ProgramMouseHandler;
t_Function t_ProgramMenuHandler;

namespace {

// A program that never reads the queue would let it grow with every click
// for as long as it runs. The handler tasks report every click as it
// happens, so the queue is history: beyond this many events the oldest go.
constexpr size_t mousequeuelimit = 4096;

// Guards both handler slots against a replacement while a task copies one.
std::mutex handlerslock;

// The click position's whole part; a position no integer can hold (a
// desktop reporting nonsense) counts as 0 or the nearest limit.
int64_t truncated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9.0e18;
    return static_cast<int64_t>(std::trunc(std::clamp(value, -limit, limit)));
}

// Where the click lies on one axis of the pixel area of `size` pixels:
// the pixel, -1 before the area, -2 after it.
int64_t clickcoordinate(int64_t offset, int64_t size)
{
    if (offset < 0)
        return -1;
    if (offset >= size)
        return -2;
    return offset;
}

t_Event mouseevent(uint8_t window, const t_MousePress& press, int64_t x, int64_t y)
{
    const t_Window& w = windowtable[window];
    t_Event event;
    event.Kind = 2;
    event.Index = press.PressedButtons;
    event.WindowX = x;
    event.WindowY = y;
    event.ClickX = clickcoordinate(x - w.BorderWidth, w.Width);
    event.ClickY = clickcoordinate(w.BorderHeight + w.Height - y, w.Height);
    event.Window = window;
    event.Time = absolute_ms();
    eventmodifiers(event, press.ModifierFlags);
    event.FnPressed = false;
    event.FunctionKeyPressed = (press.ModifierFlags & fnflag) != 0;
    return event;
}

void appendmouseevent(t_Event event)
{
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    t_MouseEvents.push_back(std::move(event));
    while (t_MouseEvents.size() > mousequeuelimit)
        t_MouseEvents.pop_front();
    t_MouseEventAvailable = !t_MouseEvents.empty();
}

void refreshmouseavailable()
{
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    t_MouseEventAvailable = !t_MouseEvents.empty();
}

void sethandler(t_Function& slot, t_Function handler)
{
    std::lock_guard<std::mutex> lock(handlerslock);
    slot = std::move(handler);
}

void callhandler(const t_Function& slot)
{
    t_Function handler;
    {
        std::lock_guard<std::mutex> lock(handlerslock);
        handler = slot;
    }
    if (handler)
        handler();
}

}  // namespace

void setprogrammousehandler(t_Function handler)
{
    sethandler(t_ProgramMouseHandler, std::move(handler));
}

void setprogrammenuhandler(t_Function handler)
{
    sethandler(t_ProgramMenuHandler, std::move(handler));
}

// ---- View side ----------------------------------------------------------------

void viewMouseDown(int window, const t_MousePress& press, bool right)
{
    if (viewtakesevents("viewMouseDown", window))
        t_MouseEventHandler(static_cast<uint8_t>(window), press, press.X, press.Y);
    t_LeftMouseButtonPressed = !right;
    t_RightMouseButtonPressed = right;
}

void viewMouseUp()
{
    t_LeftMouseButtonPressed = false;
    t_RightMouseButtonPressed = false;
}

void t_MouseEventHandler(uint8_t window, const t_MousePress& press, double x, double y)
{
    const int64_t wx = truncated(x);
    const int64_t wy = truncated(y);
    int64_t clickx = -3;
    int64_t clicky = -3;
    std::string part;
    if (window < graphicwindowcount && memoryready && windowtable[window].Initialized) {
        t_Event event = mouseevent(window, press, wx, wy);
        clickx = event.ClickX;
        clicky = event.ClickY;
        appendmouseevent(std::move(event));
        part = "Graphic #" + std::to_string(window);
    } else if (window >= graphicwindowcount) {
        diag_line("t_MouseEventHandler: Unknown window, AbsX = " + std::to_string(wx) +
                  ", AbsY = " + std::to_string(wy));
    } else {
        notinitialized("t_MouseEventHandler", window);
    }
    diag_line("t_MouseEventHandler: " + part + " window, X = " + std::to_string(clickx) +
              ", Y = " + std::to_string(clicky));
    refreshmouseavailable();
    startbackgroundtask(t_EventMouseProcess);
    diag_line("t_MouseEventHandler: Calling program mouse handler asynchronously.");
}

// ---- Handler tasks ------------------------------------------------------------

void t_EventMouseProcess()
{
    if (threadnumber() >= 3)
        namethread("t_EventMouse");
    callhandler(t_ProgramMouseHandler);
}

void t_EventMenuProcess()
{
    if (threadnumber() >= 3)
        namethread("t_EventMenu");
    callhandler(t_ProgramMenuHandler);
}
