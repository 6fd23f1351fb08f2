#include "Platform/Xdg/ClaimedWindowClasses.h"

#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

#include <mutex>

namespace tremlor::xdg {

namespace {

struct ReadEntry {
    QDateTime modified;
    qint64 size = 0;
    QString claim; // empty when the entry claims nothing
};

QString claimOf(const QString& path)
{
    const auto entry = DesktopEntry::load(path, {}, {});
    if (!entry || entry->type != u"Application" || entry->hidden)
        return {};
    return entry->startupWMClass;
}

} // namespace

QSet<QString> ClaimedWindowClasses::in(const QStringList& folders)
{
    // Asked at every running check (a view asks row by row): parse only what changed.
    static std::mutex lock;
    static QHash<QString, ReadEntry> cache;
    std::lock_guard guard(lock);
    QSet<QString> claims;
    QSet<QString> seenIds;
    for (const QString& folder : folders) {
        QDirIterator it(folder, { QStringLiteral("*.desktop") }, QDir::Files,
            QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id = ApplicationFolders::idForRelativePath(QDir(folder).relativeFilePath(path));
            if (id.isEmpty() || seenIds.contains(id))
                continue;
            seenIds.insert(id);
            const QFileInfo info = it.fileInfo();
            ReadEntry& read = cache[path];
            if (read.modified != info.lastModified() || read.size != info.size())
                read = { info.lastModified(), info.size(), claimOf(path) };
            if (!read.claim.isEmpty())
                claims.insert(read.claim);
        }
    }
    return claims;
}

} // namespace tremlor::xdg
