#pragma once

#include "Platform/X11/RunningApps.h"

namespace tremlor::x11 {

// EWMH activation: the _NET_ACTIVE_WINDOW client message to the root window with source
// indication 1 (an application) and the server's current time. Not thread-safe: callers
// serialise use of one display.
class WindowActivation final {
public:
    explicit WindowActivation(DisplayHandle display);

    // Asks the window manager to activate window; false when the request could not be sent.
    bool activate(unsigned long window) const;
    // The root's _NET_ACTIVE_WINDOW; 0 when unset.
    unsigned long activeWindow() const;

private:
    DisplayHandle m_display;
};

} // namespace tremlor::x11
