#pragma once

#include "Platform/Xdg/DesktopEntry.h"

#include <QString>

#include <memory>
#include <vector>

struct _XDisplay;

namespace tremlor::x11 {

// An X connection of our own, closed when the last owner lets go.
using DisplayHandle = std::shared_ptr<_XDisplay>;

// The managed top-level windows (_NET_CLIENT_LIST) that belong to a desktop entry, matched as
// desktop shells do: WM_CLASS instance, then class, against StartupWMClass; then instance or
// class against the desktop-file ID; then _NET_WM_PID against a process running the entry's
// executable. Not thread-safe: callers serialise use of one display.
class RunningApps final {
public:
    explicit RunningApps(DisplayHandle display);

    // Opens a connection to displayName ($DISPLAY when empty); null when that fails.
    static DisplayHandle openDisplay(const QString& displayName = {});

    // The entry's windows in client-list order.
    std::vector<unsigned long> windowsOf(const xdg::DesktopEntry& entry) const;
    bool isRunning(const xdg::DesktopEntry& entry) const { return !windowsOf(entry).empty(); }

    // One process-wide instance on $DISPLAY for callers without their own connection; every
    // call through it is serialised.
    static bool isRunningOnDefaultDisplay(const xdg::DesktopEntry& entry);

private:
    DisplayHandle m_display;
};

} // namespace tremlor::x11
