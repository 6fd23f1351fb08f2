#include "Engine/SystemAppActivator.h"

#include "Platform/X11/WindowActivation.h"
#include "Platform/Xdg/AppLauncher.h"
#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntryLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QPromise>

#include <thread>
#include <utility>

namespace tremlor {

namespace {

// The desktop-file ID of an entry file: its path below one of the folders, else its file name.
QString idOfEntryFile(const QString& path, const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString relative = QDir(folder).relativeFilePath(path);
        if (!relative.startsWith(QStringLiteral("..")) && !QDir::isAbsolutePath(relative))
            return xdg::ApplicationFolders::idForRelativePath(relative);
    }
    return xdg::ApplicationFolders::idForRelativePath(QFileInfo(path).fileName());
}

} // namespace

SystemAppActivator::SystemAppActivator()
    : m_display(x11::RunningApps::openDisplay())
{
}

SystemAppActivator::SystemAppActivator(x11::DisplayHandle display, QStringList folders)
    : m_display(std::move(display))
    , m_folders(std::move(folders))
{
}

SystemAppActivator::~SystemAppActivator() = default;

QStringList SystemAppActivator::applicationFolders() const
{
    return m_folders ? *m_folders : xdg::ApplicationFolders::standard();
}

void SystemAppActivator::activateApp(const QString& bundleIdentifier)
{
    const auto entry = xdg::DesktopEntryLookup(applicationFolders()).entry(bundleIdentifier);
    if (!entry || !m_display)
        return;
    std::lock_guard guard(m_displayLock);
    const auto windows = x11::RunningApps(m_display).windowsOf(*entry, applicationFolders());
    if (!windows.empty())
        x11::WindowActivation(m_display).activate(windows.front());
}

QFuture<bool> SystemAppActivator::launchApp(const QUrl& url)
{
    if (!url.isLocalFile())
        return QtFuture::makeReadyFuture(false);
    const QString path = url.toLocalFile();
    const QStringList folders = applicationFolders();
    auto promise = std::make_shared<QPromise<bool>>();
    QFuture<bool> future = promise->future();
    promise->start();
    // Starting a process forks and waits for the exec: keep that off the caller's thread.
    std::thread([promise, path, folders] {
        const QString id = idOfEntryFile(path, folders);
        const auto entry = xdg::DesktopEntry::load(path, id, xdg::DesktopEntry::localeNamesFromEnvironment());
        const bool started = entry && entry->type == u"Application" && xdg::AppLauncher::launch(*entry);
        promise->addResult(started);
        promise->finish();
    }).detach();
    return future;
}

bool SystemAppActivator::isAppRunning(const QString& bundleIdentifier)
{
    if (!xdg::ApplicationFolders::isValidId(bundleIdentifier))
        return false;
    // A process we started that still lives counts even when its window cannot be matched.
    if (xdg::AppLauncher::hasLiveProcess(bundleIdentifier))
        return true;
    const auto entry = xdg::DesktopEntryLookup(applicationFolders()).entry(bundleIdentifier);
    if (!entry || !m_display)
        return false;
    std::lock_guard guard(m_displayLock);
    return x11::RunningApps(m_display).isRunning(*entry, applicationFolders());
}

} // namespace tremlor
