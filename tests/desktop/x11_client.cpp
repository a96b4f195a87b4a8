// A small X11 client for the program test: what a window manager and
// another application would do to Sprecho's windows and clipboard.
//   x11_client close TITLE   the window manager's close request
//                            (WM_DELETE_WINDOW) to the shown window TITLE
//   x11_client own TEXT      holds TEXT as clipboard and primary selection
//                            until another client takes them or it is killed
//   x11_client read          prints the clipboard's text
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

Atom atom(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

std::string windowname(Display* display, Window window)
{
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr)
        return {};
    std::string result = name;
    XFree(name);
    return result;
}

// The first shown child of the root named `title` (no window manager
// reparents them here).
Window shownwindow(Display* display, const std::string& title)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && windowname(display, children[i]) == title)
            found = children[i];
    }
    XFree(children);
    return found;
}

int close(Display* display, const std::string& title)
{
    const Window window = shownwindow(display, title);
    if (window == 0) {
        std::fprintf(stderr, "x11_client: no shown window \"%s\"\n", title.c_str());
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(display, "WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(atom(display, "WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

int own(Display* display, const std::string& text)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom utf8 = atom(display, "UTF8_STRING");
    const Atom targets = atom(display, "TARGETS");
    for (const Atom selection : {atom(display, "CLIPBOARD"), Atom(XA_PRIMARY)})
        XSetSelectionOwner(display, selection, window, CurrentTime);
    std::printf("owned\n");
    std::fflush(stdout);
    for (int lost = 0; lost < 2;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear) {
            ++lost;
            continue;
        }
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent& request = event.xselectionrequest;
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = request.property != None ? request.property : request.target;
        if (request.target == targets) {
            const Atom offered[] = {targets, utf8};
            XChangeProperty(display, request.requestor, reply.xselection.property, XA_ATOM, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(offered), 2);
        } else if (request.target == utf8) {
            XChangeProperty(display, request.requestor, reply.xselection.property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
        } else {
            reply.xselection.property = None;
        }
        XSendEvent(display, request.requestor, False, NoEventMask, &reply);
        XFlush(display);
    }
    return 0;
}

int read(Display* display)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = atom(display, "X11_CLIENT_TEXT");
    XConvertSelection(display, atom(display, "CLIPBOARD"), atom(display, "UTF8_STRING"), property, window,
                      CurrentTime);
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != SelectionNotify);
    if (event.xselection.property == None)
        return 1;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, property, 0, 1 << 20, False, AnyPropertyType, &type, &format, &count,
                       &after, &data);
    if (data != nullptr) {
        std::fwrite(data, 1, count, stdout);
        XFree(data);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_client: no X display\n");
        return 2;
    }
    int status = 2;
    if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        status = close(display, argv[2]);
    else if (argc == 3 && std::strcmp(argv[1], "own") == 0)
        status = own(display, argv[2]);
    else if (argc == 2 && std::strcmp(argv[1], "read") == 0)
        status = read(display);
    XCloseDisplay(display);
    return status;
}
