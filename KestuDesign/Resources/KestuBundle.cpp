#include "KestuDesign/Resources/KestuBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace kestu {

namespace {
// The folder of the loaded binary that holds this function: the kit's code.
QString codeFolder()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&codeFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
}
} // namespace

QStringList KestuBundle::candidateFolders()
{
    QString appFolder;
    if (QCoreApplication::instance())
        appFolder = QCoreApplication::applicationDirPath();
    QString appOwnFolder;
    QString installedData;
    if (!appFolder.isEmpty()) {
        appOwnFolder = QFileInfo(appFolder).absolutePath();
        // An installed program keeps its data under <prefix>/share/tremlor, beside bin/.
        installedData = QDir(appOwnFolder).filePath(QStringLiteral("share/tremlor"));
    }
    return { appFolder, codeFolder(), appOwnFolder, installedData };
}

std::optional<QString> KestuBundle::find(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QString path = QDir(candidate).filePath(QLatin1String(folderName));
        if (QFileInfo(path).isDir())
            return path;
    }
    return std::nullopt;
}

QString KestuBundle::require(const QStringList& candidates)
{
    const auto found = find(candidates);
    if (!found)
        qFatal("unable to find bundle named KestuDesign_KestuDesign");
    return *found;
}

const QString& KestuBundle::module()
{
    static const QString bundle = require(candidateFolders());
    return bundle;
}

std::optional<QString> KestuBundle::resource(const QString& bundle, const QString& name, const QString& extension)
{
    const QString path = QDir(bundle).filePath(name + QLatin1Char('.') + extension);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

} // namespace kestu
