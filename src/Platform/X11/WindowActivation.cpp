#include "Platform/X11/WindowActivation.h"

#include <chrono>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tremlor::x11 {

namespace {

// The server's current time: append nothing to a property of a window of our own and read the
// time stamp of the PropertyNotify that follows. CurrentTime when the server does not answer.
Time serverTime(Display* d)
{
    const Window root = DefaultRootWindow(d);
    XSetWindowAttributes attributes {};
    attributes.event_mask = PropertyChangeMask;
    const Window probe
        = XCreateWindow(d, root, -1, -1, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attributes);
    const Atom property = XInternAtom(d, "_TREMLOR_TIME_PROBE", False);
    XChangeProperty(d, probe, property, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XSync(d, False);
    Time time = CurrentTime;
    XEvent event;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < deadline) {
        if (XCheckTypedWindowEvent(d, probe, PropertyNotify, &event)) {
            time = event.xproperty.time;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        XSync(d, False);
    }
    XDestroyWindow(d, probe);
    XSync(d, False);
    return time;
}

} // namespace

WindowActivation::WindowActivation(DisplayHandle display)
    : m_display(std::move(display))
{
}

bool WindowActivation::activate(unsigned long window) const
{
    Display* d = m_display.get();
    if (!d || window == 0)
        return false;
    const Window root = DefaultRootWindow(d);
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.serial = 0;
    event.xclient.send_event = True;
    event.xclient.display = d;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // source indication: an application
    event.xclient.data.l[1] = static_cast<long>(serverTime(d));
    event.xclient.data.l[2] = 0; // we have no active window of our own
    const Status sent = XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(d);
    return sent != 0;
}

unsigned long WindowActivation::activeWindow() const
{
    Display* d = m_display.get();
    if (!d)
        return 0;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long window = 0;
    const Atom active = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    if (XGetWindowProperty(
            d, DefaultRootWindow(d), active, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data)
            == Success
        && type == XA_WINDOW && format == 32 && count == 1 && data)
        window = *reinterpret_cast<const unsigned long*>(data);
    if (data)
        XFree(data);
    return window;
}

} // namespace tremlor::x11
