#pragma once

#include "Platform/Xdg/DesktopEntry.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct _XDisplay;

namespace tremlor::x11 {

// An X connection of our own, closed when the last owner lets go.
using DisplayHandle = std::shared_ptr<_XDisplay>;

// The managed top-level windows (_NET_CLIENT_LIST) that belong to a desktop entry, matched as
// desktop shells do. An entry with StartupWMClass has the windows whose WM_CLASS instance or
// class is that name, case aside: several entries may start one program (`xterm -class X`).
// Any other entry, and one whose class no window has, has the windows whose instance or class
// is its desktop-file ID, or whose _NET_WM_PID runs its executable, except those an entry
// claims by its StartupWMClass. Not thread-safe: callers serialise use of one display.
class RunningApps final {
public:
    explicit RunningApps(DisplayHandle display);

    // Opens a connection to displayName ($DISPLAY when empty); null when that fails.
    static DisplayHandle openDisplay(const QString& displayName = {});

    // A managed window as the matching sees it; the process fields are empty for remote clients.
    struct ClientWindow {
        unsigned long window = 0;
        QString instance;
        QString windowClass;
        QString executable; // canonical path of the _NET_WM_PID process's executable
        QString startedProgram; // its argv[0], canonical when a path
    };

    // The windows of _NET_CLIENT_LIST, in its order.
    std::vector<ClientWindow> clients() const;
    // Those of clients that belong to the entry, where claimedClasses are the StartupWMClass
    // names of the installed entries.
    static std::vector<unsigned long> matching(
        const std::vector<ClientWindow>& clients, const xdg::DesktopEntry& entry, const QSet<QString>& claimedClasses);
    // The entry's windows in client-list order, among the entries of the application folders.
    std::vector<unsigned long> windowsOf(const xdg::DesktopEntry& entry, const QStringList& folders) const;
    bool isRunning(const xdg::DesktopEntry& entry, const QStringList& folders) const
    {
        return !windowsOf(entry, folders).empty();
    }

    // One process-wide connection to $DISPLAY for callers without their own, among the entries
    // of the standard folders; calls through it are serialised and share a look at the window
    // list for 250 ms.
    static bool isRunningOnDefaultDisplay(const xdg::DesktopEntry& entry);

private:
    DisplayHandle m_display;
};

} // namespace tremlor::x11
