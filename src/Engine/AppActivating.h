#pragma once

#include <QFuture>
#include <QString>
#include <QUrl>

namespace tremlor {

// The workspace as the application activator sees it. Bundle identifiers are desktop-file IDs.
class AppActivating {
public:
    AppActivating() = default;
    virtual ~AppActivating() = default;
    AppActivating(const AppActivating&) = delete;
    AppActivating& operator=(const AppActivating&) = delete;

    // Brings the first running instance of the application to the front; nothing when none runs.
    virtual void activateApp(const QString& bundleIdentifier) = 0;
    // Opens the application of the desktop entry at url (a file URL); true once it was started.
    virtual QFuture<bool> launchApp(const QUrl& url) = 0;
    // At least one instance of the application runs.
    virtual bool isAppRunning(const QString& bundleIdentifier) = 0;
};

} // namespace tremlor
