#include "Helpers/AppListProvider.h"

#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"

#include <QCollator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <utility>

namespace tremlor {

namespace {

// The record of one entry file: applications only, not NoDisplay or Hidden ones, with a usable ID.
std::optional<AppInfo> makeAppInfo(const QString& filePath, const QString& relativePath, const QStringList& localeNames)
{
    const QString id = xdg::ApplicationFolders::idForRelativePath(relativePath);
    if (!xdg::ApplicationFolders::isValidId(id))
        return std::nullopt;
    const auto entry = xdg::DesktopEntry::load(filePath, id, localeNames);
    if (!entry || entry->type != u"Application" || entry->noDisplay || entry->hidden)
        return std::nullopt;
    return AppInfo(id, entry->localizedName, filePath);
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
    const QStringList localeNames = xdg::DesktopEntry::localeNamesFromEnvironment();
    // First found wins: earlier folders, then earlier items of a folder.
    QList<AppInfo> kept;
    QSet<QString> seen;
    xdg::ApplicationFolders::forEachEntryFile(m_folders ? *m_folders : xdg::ApplicationFolders::standard(),
        [&](const QFileInfo& file, const QString& relativePath) {
            std::optional<AppInfo> app = makeAppInfo(file.filePath(), relativePath, localeNames);
            if (app && !seen.contains(app->bundleIdentifier())) {
                seen.insert(app->bundleIdentifier());
                kept.push_back(std::move(*app));
            }
        });

    QCollator collator { QLocale() };
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(kept.begin(), kept.end(),
        [&](const AppInfo& a, const AppInfo& b) { return collator.compare(a.name(), b.name()) < 0; });
    return kept;
}

} // namespace tremlor
