#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <atomic>
#include <vector>

struct _XDisplay;

namespace tremlor::x11 {

// One Xlib connection for one thread of ours. A server that goes away marks it lost instead of
// ending the process; protocol errors on it are ignored.
class X11Connection final {
public:
    // Opens the named display (empty: $DISPLAY); isOpen() tells whether that worked.
    explicit X11Connection(const QString& displayName = {});
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // Null when the display could not be opened or was lost.
    _XDisplay* display() const;
    bool isOpen() const { return display() != nullptr; }
    bool isLost() const { return m_lost.load(); }
    int fileDescriptor() const;

    // The cursor location on the root window; (0, 0) when unavailable.
    QPointF cursorLocation() const;
    // Whether the pointer is over another application's own window: not the root window, nor a
    // desktop or dock window, nor the frame a window manager draws around a window, nor one of
    // this process (by its _NET_WM_PID). A wheel turned or a click anywhere else reaches the
    // window manager, which may switch virtual desktops or close a window, a panel, whose taskbar
    // iconifies or raises a window, or our own controls.
    bool pointerIsOverOtherApplication() const;
    // Whether a window of this process has the keyboard focus.
    bool keyboardIsInOwnWindow() const;
    // Monitors over XRandR; the primary one first. Empty when the server lists none.
    std::vector<QRectF> monitors() const;
    // The monitor containing the point, else the main (primary) one; empty when none.
    QRectF displayBounds(QPointF point) const;
    // The root window; empty when not open.
    QRectF screenBounds() const;

private:
    static void onConnectionLost(_XDisplay* display, void* self);

    _XDisplay* m_display = nullptr;
    std::atomic<bool> m_lost { false };
};

} // namespace tremlor::x11
