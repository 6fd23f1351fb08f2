#include "Helpers/AppListProvider.h"

#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace tremlor {

namespace {

constexpr int maxDepth = 16;

struct Walk {
    QStringList localeNames;
    QSet<QString> visitedDirs; // canonical paths: symlinked folders cannot loop
    std::vector<AppInfo> found;
};

// The record of one entry file: applications only, not NoDisplay or Hidden ones, with a usable ID.
std::optional<AppInfo> makeAppInfo(const QString& filePath, const QString& relativePath, const Walk& walk)
{
    const QString id = xdg::ApplicationFolders::idForRelativePath(relativePath);
    if (!xdg::ApplicationFolders::isValidId(id))
        return std::nullopt;
    const auto entry = xdg::DesktopEntry::load(filePath, id, walk.localeNames);
    if (!entry || entry->type != u"Application" || entry->noDisplay || entry->hidden)
        return std::nullopt;
    return AppInfo(id, entry->localizedName, filePath);
}

void walkFolder(const QString& dir, const QString& relativeDir, int depth, Walk& walk)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    if (canonical.isEmpty() || walk.visitedDirs.contains(canonical) || depth > maxDepth)
        return;
    walk.visitedDirs.insert(canonical);
    const QFileInfoList items = QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& item : items) {
        const QString name = item.fileName();
        const QString relative = relativeDir.isEmpty() ? name : relativeDir + u'/' + name;
        if (name.endsWith(QStringLiteral(".desktop"))) {
            // An entry; a folder with that name is not descended into.
            if (item.isFile()) {
                if (auto app = makeAppInfo(item.filePath(), relative, walk))
                    walk.found.push_back(std::move(*app));
            }
        } else if (item.isDir()) {
            walkFolder(item.filePath(), relative, depth + 1, walk);
        }
    }
}

} // namespace

AppListProvider::AppListProvider()
    : m_clock(SystemClock::instance())
{
}

AppListProvider::AppListProvider(QStringList folders, const Clock& clock)
    : m_folders(std::move(folders))
    , m_clock(clock)
{
}

QList<AppInfo> AppListProvider::scanInstalledApps()
{
    std::lock_guard guard(m_lock);
    if (m_lastScanDate && !m_cachedApps.empty() && m_clock.monotonicNow() - *m_lastScanDate < cacheLifetime)
        return m_cachedApps;
    m_cachedApps = scan();
    m_lastScanDate = m_clock.monotonicNow();
    return m_cachedApps;
}

QList<AppInfo> AppListProvider::scan() const
{
    Walk walk;
    walk.localeNames = xdg::DesktopEntry::localeNamesFromEnvironment();
    for (const QString& folder : m_folders ? *m_folders : xdg::ApplicationFolders::standard())
        walkFolder(folder, {}, 0, walk);

    // First found wins: earlier folders, then earlier items of a folder.
    QList<AppInfo> kept;
    kept.reserve(walk.found.size());
    QSet<QString> seen;
    for (AppInfo& app : walk.found) {
        if (!seen.contains(app.bundleIdentifier())) {
            seen.insert(app.bundleIdentifier());
            kept.push_back(std::move(app));
        }
    }

    QCollator collator { QLocale() };
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(kept.begin(), kept.end(),
        [&](const AppInfo& a, const AppInfo& b) { return collator.compare(a.name(), b.name()) < 0; });
    return kept;
}

} // namespace tremlor
