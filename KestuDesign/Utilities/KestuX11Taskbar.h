#pragma once

#include <QtGlobal>

#include <vector>

namespace kestu {

// Marks X11 top-level windows to be left out of the taskbar and the pager (the accessory
// activation policy), and hands activation between windows, through the EWMH window manager.
// The connection is an xcb_connection_t handed in, so tests can use a private X server.
class KestuX11Taskbar final {
public:
    KestuX11Taskbar() = delete;

    // The window the window manager holds active (the root's _NET_ACTIVE_WINDOW); 0 when none
    // or when the connection is unusable.
    static quint32 activeWindow(void* xcbConnection);
    // The windows the window manager manages (the root's _NET_CLIENT_LIST); empty when none or
    // when the connection is unusable.
    static std::vector<quint32> clientWindows(void* xcbConnection);
    // Asks the window manager to activate `window` for the user, as a pager does
    // (_NET_ACTIVE_WINDOW from source 2), with the X server time of the user's last action (0
    // when none is known): managers that prevent focus stealing refuse a request without it.
    // False when the connection is unusable or the window does not exist.
    static bool activate(void* xcbConnection, quint32 window, quint32 userTime);

    // Adds or removes _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER on `window`: by a
    // request to the window manager when the window is mapped, else in its own property, which
    // the window manager reads when it maps the window. False when the connection is unusable.
    static bool setSkipTaskbar(void* xcbConnection, quint32 window, bool skip);

    // Installs the applier of KestuDockVisibility that marks the running application's windows
    // (and the ones it shows later) when it runs on X11; does nothing elsewhere. Tool windows
    // (a panel under the tray) stay out of the taskbar and the pager whatever the policy.
    static void installForApplication();
};

} // namespace kestu
