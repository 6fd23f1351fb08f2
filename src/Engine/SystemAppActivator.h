#pragma once

#include "Engine/AppActivating.h"
#include "Platform/X11/RunningApps.h"

#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

namespace tremlor {

// AppActivating over X11 and the XDG desktop entries: running = a matched window in
// _NET_CLIENT_LIST or a live process we launched; activation = EWMH _NET_ACTIVE_WINDOW; launch =
// the entry's Exec, split without a shell and started detached. Safe to call from any thread.
class SystemAppActivator final : public AppActivating {
public:
    // Its own connection to $DISPLAY and the standard application folders.
    SystemAppActivator();
    // For tests: a given X connection (may be null: nothing runs, nothing activates) and folders.
    SystemAppActivator(x11::DisplayHandle display, QStringList folders);
    ~SystemAppActivator() override;

    void activateApp(const QString& bundleIdentifier) override;
    QFuture<bool> launchApp(const QUrl& url) override;
    bool isAppRunning(const QString& bundleIdentifier) override;

private:
    // The given folders, else the standard ones as they are now.
    QStringList applicationFolders() const;

    x11::DisplayHandle m_display;
    std::optional<QStringList> m_folders;
    std::mutex m_displayLock;
};

} // namespace tremlor
