#include "Platform/Xdg/ClaimedWindowClasses.h"

#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"

#include <QDateTime>
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
    ApplicationFolders::forEachEntryFile(folders, [&](const QFileInfo& file, const QString& relativePath) {
        const QString id = ApplicationFolders::idForRelativePath(relativePath);
        if (id.isEmpty() || seenIds.contains(id))
            return;
        seenIds.insert(id);
        ReadEntry& read = cache[file.filePath()];
        if (read.modified != file.lastModified() || read.size != file.size())
            read = { file.lastModified(), file.size(), claimOf(file.filePath()) };
        if (!read.claim.isEmpty())
            claims.insert(read.claim);
    });
    return claims;
}

} // namespace tremlor::xdg
