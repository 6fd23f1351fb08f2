#include "Platform/Xdg/ClaimedWindowClasses.h"

#include "Platform/Dispatch.h"
#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QPointer>

#include <atomic>
#include <memory>
#include <mutex>

namespace tremlor::xdg {

namespace {

struct ReadEntry {
    QDateTime modified;
    qint64 size = 0;
    QString claim; // empty when the entry claims nothing
};

// What one list of folders claims, kept until something below the folders changes.
struct Claims {
    // Not under the lock: the watcher marks a change without waiting for a reading under way,
    // which takes the mark before it reads, so a change meanwhile is read next time.
    std::atomic<bool> stale = true;
    std::mutex lock;
    QSet<QString> classes;
    QHash<QString, ReadEntry> files;
    // Main thread only.
    QPointer<QFileSystemWatcher> watcher;
};

QString claimOf(const QString& path)
{
    const auto entry = DesktopEntry::load(path, {}, {});
    if (!entry || entry->type != u"Application" || entry->hidden)
        return {};
    return entry->startupWMClass;
}

std::shared_ptr<Claims> claimsOf(const QStringList& folders)
{
    static std::mutex lock;
    // Never freed: a worker thread may still ask while the program ends.
    static auto* all = new QHash<QString, std::shared_ptr<Claims>>;
    std::lock_guard guard(lock);
    std::shared_ptr<Claims>& claims = (*all)[folders.join(QChar(0))];
    if (!claims)
        claims = std::make_shared<Claims>();
    return claims;
}

void markStale(const std::weak_ptr<Claims>& weak)
{
    if (const auto claims = weak.lock())
        claims->stale = true;
}

// Follows exactly `paths` from the main thread, which has the event loop a watcher needs. A path
// followed only now may have changed since it was read: the next call reads again.
void watch(const std::shared_ptr<Claims>& read, const QSet<QString>& paths)
{
    dispatch::postToMain([weak = std::weak_ptr(read), paths] {
        const auto claims = weak.lock();
        if (!claims)
            return;
        QFileSystemWatcher* watcher = claims->watcher;
        if (!watcher) {
            watcher = claims->watcher = new QFileSystemWatcher(QCoreApplication::instance());
            QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, [weak] { markStale(weak); });
            QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, [weak] { markStale(weak); });
        }
        const QStringList watchedList = watcher->files() + watcher->directories();
        const QSet<QString> watched(watchedList.begin(), watchedList.end());
        if (const QSet<QString> gone = watched - paths; !gone.isEmpty())
            watcher->removePaths(gone.values());
        if (const QSet<QString> added = paths - watched; !added.isEmpty()) {
            watcher->addPaths(added.values());
            markStale(weak);
        }
    });
}

} // namespace

QSet<QString> ClaimedWindowClasses::in(const QStringList& folders)
{
    const std::shared_ptr<Claims> claims = claimsOf(folders);
    std::lock_guard guard(claims->lock);
    // Without an event loop nothing reports a change: read every time.
    const bool watched = QCoreApplication::instance() != nullptr;
    if (watched && !claims->stale.exchange(false))
        return claims->classes;
    QSet<QString> classes;
    QHash<QString, ReadEntry> files;
    QSet<QString> paths;
    QSet<QString> seenIds;
    ApplicationFolders::forEachEntryFile(
        folders,
        [&](const QFileInfo& file, const QString& relativePath) {
            const QString id = ApplicationFolders::idForRelativePath(relativePath);
            paths.insert(file.filePath());
            if (id.isEmpty() || seenIds.contains(id))
                return;
            seenIds.insert(id);
            // Only what changed is parsed again; a deleted file leaves nothing behind.
            ReadEntry read = claims->files.value(file.filePath());
            if (read.modified != file.lastModified() || read.size != file.size())
                read = { file.lastModified(), file.size(), claimOf(file.filePath()) };
            if (!read.claim.isEmpty())
                classes.insert(read.claim);
            files.insert(file.filePath(), read);
        },
        [&](const QString& folder) { paths.insert(folder); });
    claims->classes = classes;
    claims->files = std::move(files);
    if (watched)
        watch(claims, paths);
    return classes;
}

} // namespace tremlor::xdg
