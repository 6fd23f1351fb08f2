#include "Platform/Xdg/ApplicationFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace tremlor::xdg {

namespace {

constexpr int maxDepth = 16;

using Visit = std::function<void(const QFileInfo&, const QString&)>;
using Enter = std::function<void(const QString&)>;

void walkFolder(const QString& dir, const QString& relativeDir, int depth, QSet<QString>& visitedDirs,
    const Visit& visit, const Enter& enter)
{
    // Canonical paths: symlinked folders cannot loop.
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    if (canonical.isEmpty() || visitedDirs.contains(canonical) || depth > maxDepth)
        return;
    visitedDirs.insert(canonical);
    if (enter)
        enter(dir);
    const QFileInfoList items = QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& item : items) {
        const QString name = item.fileName();
        const QString relative = relativeDir.isEmpty() ? name : relativeDir + u'/' + name;
        if (name.endsWith(QStringLiteral(".desktop"))) {
            if (item.isFile())
                visit(item, relative);
        } else if (item.isDir()) {
            walkFolder(item.filePath(), relative, depth + 1, visitedDirs, visit, enter);
        }
    }
}

} // namespace

void ApplicationFolders::forEachEntryFile(const QStringList& folders, const Visit& visit, const Enter& enter)
{
    QSet<QString> visitedDirs;
    for (const QString& folder : folders)
        walkFolder(folder, {}, 0, visitedDirs, visit, enter);
}

QStringList ApplicationFolders::standard()
{
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList folders;
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts)) {
        // Relative entries are invalid as XDG base directories.
        if (QDir::isAbsolutePath(dir))
            folders << QDir::cleanPath(dir + QStringLiteral("/applications"));
    }
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    folders << QDir::cleanPath(dataHome + QStringLiteral("/applications"));
    folders.removeDuplicates();
    return folders;
}

bool ApplicationFolders::isValidId(const QString& id)
{
    if (id.isEmpty() || id.size() > 255 || id.startsWith(u'.') || id.startsWith(u'-'))
        return false;
    for (const QChar c : id) {
        const bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!ascii && c != u'.' && c != u'_' && c != u'-' && c != u'+' && c != u'@' && c != u'~')
            return false;
    }
    return true;
}

QString ApplicationFolders::idForRelativePath(const QString& relativePath)
{
    static const QString suffix = QStringLiteral(".desktop");
    if (!relativePath.endsWith(suffix) || relativePath.size() == suffix.size())
        return {};
    QString id = relativePath.chopped(suffix.size());
    id.replace(u'/', u'-');
    return id;
}

} // namespace tremlor::xdg
