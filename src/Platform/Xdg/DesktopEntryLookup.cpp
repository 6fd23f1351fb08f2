#include "Platform/Xdg/DesktopEntryLookup.h"

#include "Platform/Xdg/ApplicationFolders.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tremlor::xdg {

namespace {

// Finds `<prefix-parts>/<rest>.desktop` below dir where the ID's dashes may stand for folder
// separators ("kde4-konsole" → kde4/konsole.desktop). Components are plain names from a validated
// ID, never "." or "..".
QString findBelow(const QString& dir, const QString& rest, int depth)
{
    const QString direct = dir + u'/' + rest + QStringLiteral(".desktop");
    if (QFileInfo(direct).isFile())
        return direct;
    if (depth >= 8)
        return {};
    for (qsizetype dash = rest.indexOf(u'-'); dash > 0; dash = rest.indexOf(u'-', dash + 1)) {
        const QString part = rest.left(dash);
        if (part.startsWith(u'.') || dash + 1 >= rest.size())
            continue;
        const QString sub = dir + u'/' + part;
        if (QFileInfo(sub).isDir()) {
            const QString found = findBelow(sub, rest.mid(dash + 1), depth + 1);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

} // namespace

DesktopEntryLookup::DesktopEntryLookup() = default;

DesktopEntryLookup::DesktopEntryLookup(QStringList folders)
    : m_folders(std::move(folders))
{
}

QStringList DesktopEntryLookup::folders() const
{
    return m_folders ? *m_folders : ApplicationFolders::standard();
}

QString DesktopEntryLookup::entryPath(const QString& id) const
{
    if (!ApplicationFolders::isValidId(id))
        return {};
    for (const QString& folder : folders()) {
        const QString found = findBelow(folder, id, 0);
        if (found.isEmpty())
            continue;
        // Belt and braces: the file (after symlinks) must still belong to the folder's tree and
        // carry exactly this ID.
        const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
        const QString relative = QDir(folder).relativeFilePath(found);
        if (canonicalFolder.isEmpty() || relative.startsWith(QStringLiteral(".."))
            || ApplicationFolders::idForRelativePath(relative) != id)
            continue;
        return found;
    }
    return {};
}

std::optional<DesktopEntry> DesktopEntryLookup::entry(const QString& id) const
{
    const QString path = entryPath(id);
    if (path.isEmpty())
        return std::nullopt;
    auto entry = DesktopEntry::load(path, id, DesktopEntry::localeNamesFromEnvironment());
    if (!entry || entry->type != u"Application")
        return std::nullopt;
    return entry;
}

} // namespace tremlor::xdg
