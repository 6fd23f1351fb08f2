#include "Platform/X11/X11Connection.h"

#include "Platform/X11/WindowProperties.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace tremlor::x11 {

namespace {

// Our connections, for the error handlers (which run inside Xlib on any thread).
std::array<std::atomic<Display*>, 64> ourDisplays {};

void track(Display* display)
{
    for (auto& slot : ourDisplays) {
        Display* expected = nullptr;
        if (slot.compare_exchange_strong(expected, display))
            return;
    }
}

void untrack(Display* display)
{
    for (auto& slot : ourDisplays) {
        Display* expected = display;
        if (slot.compare_exchange_strong(expected, nullptr))
            return;
    }
}

bool isOurs(Display* display)
{
    return std::any_of(ourDisplays.begin(), ourDisplays.end(),
        [display](const std::atomic<Display*>& slot) { return slot.load() == display; });
}

XErrorHandler previousHandler = nullptr;

// Errors on our connections (a key code the server refuses, a window gone) are not fatal;
// others go to whoever handled them before.
int onXError(Display* display, XErrorEvent* event)
{
    if (!isOurs(display) && previousHandler)
        return previousHandler(display, event);
    return 0;
}

XIOErrorHandler previousIOHandler = nullptr;

// Xlib's default handler ends the process when a server goes away; for our connections it
// returns, and the connection's exit handler marks it lost instead.
int onXIOError(Display* display)
{
    if (!isOurs(display) && previousIOHandler)
        return previousIOHandler(display);
    return 0;
}

void installErrorHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        XErrorHandler previous = XSetErrorHandler(&onXError);
        if (previous != &onXError)
            previousHandler = previous;
        XIOErrorHandler previousIO = XSetIOErrorHandler(&onXIOError);
        if (previousIO != &onXIOError)
            previousIOHandler = previousIO;
    });
}

} // namespace

X11Connection::X11Connection(const QString& displayName)
{
    installErrorHandlers();
    const QByteArray name = displayName.toLocal8Bit();
    m_display = XOpenDisplay(displayName.isEmpty() ? nullptr : name.constData());
    if (!m_display)
        return;
    track(m_display);
    XSetIOErrorExitHandler(m_display, &X11Connection::onConnectionLost, this);
}

X11Connection::~X11Connection()
{
    if (!m_display)
        return;
    untrack(m_display);
    XCloseDisplay(m_display);
}

void X11Connection::onConnectionLost(_XDisplay*, void* self)
{
    // Returning (instead of exiting) leaves the connection dead; we stop using it.
    static_cast<X11Connection*>(self)->m_lost = true;
}

_XDisplay* X11Connection::display() const
{
    return m_lost.load() ? nullptr : m_display;
}

int X11Connection::fileDescriptor() const
{
    return m_display ? ConnectionNumber(m_display) : -1;
}

QPointF X11Connection::cursorLocation() const
{
    Display* d = display();
    if (!d)
        return {};
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rootX, &rootY, &winX, &winY, &mask))
        return {};
    if (isLost())
        return {};
    return QPointF(rootX, rootY);
}

namespace {

// The managed window at or below `top`: the one with WM_STATE, breadth first as xprop finds it;
// 0 when there is none (override-redirect windows, the manager's own).
Window clientWindowAt(Display* d, Window top)
{
    const Atom wmState = XInternAtom(d, "WM_STATE", True);
    if (wmState == 0)
        return 0;
    std::vector<Window> level { top };
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<Window> next;
        for (const Window window : level) {
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            const bool managed = XGetWindowProperty(d, window, wmState, 0, 0, False, AnyPropertyType, &type, &format,
                                     &count, &after, &data)
                    == Success
                && type != 0;
            if (data)
                XFree(data);
            if (managed)
                return window;
            Window root = 0, parent = 0;
            Window* children = nullptr;
            unsigned int childCount = 0;
            if (XQueryTree(d, window, &root, &parent, &children, &childCount) && children) {
                next.insert(next.end(), children, children + childCount);
                XFree(children);
            }
        }
        level = std::move(next);
    }
    return 0;
}

// Whether the window's _NET_WM_WINDOW_TYPE lists one of these types.
bool hasWindowType(Display* d, Window window, std::initializer_list<const char*> names)
{
    const auto types = cardinals(d, window, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32);
    return std::any_of(names.begin(), names.end(), [&](const char* name) {
        return std::find(types.begin(), types.end(), XInternAtom(d, name, False)) != types.end();
    });
}

// A window of this process: its _NET_WM_PID is ours, and it was made on this machine.
bool isOwnWindow(Display* d, Window window)
{
    static const unsigned long ownPid = static_cast<unsigned long>(::getpid());
    const auto pid = cardinals(d, window, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 1);
    return pid.size() == 1 && pid.front() == ownPid && isLocalClient(d, window);
}

} // namespace

bool X11Connection::pointerIsOverOtherApplication() const
{
    Display* d = display();
    if (!d)
        return false;
    const Window rootWindow = DefaultRootWindow(d);
    Window root = 0, top = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(d, rootWindow, &root, &top, &rootX, &rootY, &winX, &winY, &mask) || top == 0)
        return false;
    const Window client = clientWindowAt(d, top);
    if (client == 0 || hasWindowType(d, client, { "_NET_WM_WINDOW_TYPE_DESKTOP", "_NET_WM_WINDOW_TYPE_DOCK" })
        || isOwnWindow(d, client))
        return false;
    // Inside the window itself, not on its title bar or border.
    XWindowAttributes attributes {};
    Window child = 0;
    int x = -1, y = -1;
    if (!XGetWindowAttributes(d, client, &attributes)
        || !XTranslateCoordinates(d, rootWindow, client, rootX, rootY, &x, &y, &child))
        return false;
    return !isLost() && x >= 0 && y >= 0 && x < attributes.width && y < attributes.height;
}

bool X11Connection::keyboardIsInOwnWindow() const
{
    Display* d = display();
    if (!d)
        return false;
    Window window = 0;
    int revertTo = 0;
    XGetInputFocus(d, &window, &revertTo);
    // Up from the focused window: a toolkit may focus a child of its top-level window.
    for (int depth = 0; depth < 8 && window != 0 && window != PointerRoot; ++depth) {
        if (isOwnWindow(d, window))
            return !isLost();
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(d, window, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        window = parent == root ? 0 : parent;
    }
    return false;
}

std::vector<QRectF> X11Connection::monitors() const
{
    std::vector<QRectF> result;
    Display* d = display();
    if (!d)
        return result;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(d, &eventBase, &errorBase) || !XRRQueryVersion(d, &major, &minor)
        || (major == 1 && minor < 5))
        return result;
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
    if (!info)
        return result;
    for (int i = 0; i < count; ++i) {
        const QRectF rect(info[i].x, info[i].y, info[i].width, info[i].height);
        if (!rect.isValid())
            continue;
        if (info[i].primary)
            result.insert(result.begin(), rect);
        else
            result.push_back(rect);
    }
    XRRFreeMonitors(info);
    return result;
}

QRectF X11Connection::displayBounds(QPointF point) const
{
    const std::vector<QRectF> all = monitors();
    for (const QRectF& rect : all) {
        if (point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top()
            && point.y() < rect.bottom())
            return rect;
    }
    return all.empty() ? QRectF() : all.front();
}

QRectF X11Connection::screenBounds() const
{
    Display* d = display();
    if (!d)
        return {};
    const int screen = DefaultScreen(d);
    return QRectF(0, 0, DisplayWidth(d, screen), DisplayHeight(d, screen));
}

} // namespace tremlor::x11
