#include "App/TremlorGlyphIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPixmap>

namespace tremlor {

namespace {
struct Registry {
    bool registered = false;
    QString folder;
    QHash<QString, QIcon> images;
};

Registry& registry()
{
    static Registry r;
    return r;
}

QString defaultFolder()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
        { appDir + QStringLiteral("/glyphs"), appDir + QStringLiteral("/../share/tremlor/glyphs") }) {
        if (QFileInfo(candidate).isDir())
            return QDir(candidate).absolutePath();
    }
    return appDir + QStringLiteral("/glyphs");
}
} // namespace

const QStringList& TremlorGlyphIcon::names()
{
    static const QStringList list { QStringLiteral("tremlor-glyph"), QStringLiteral("tremlor-glyph-active"),
        QStringLiteral("tremlor-glyph-paused") };
    return list;
}

void TremlorGlyphIcon::registerAllOnce()
{
    if (registry().registered)
        return;
    registry().registered = true;
    for (const QString& name : names())
        registerImage(name, false);
}

bool TremlorGlyphIcon::isRegistered()
{
    return registry().registered;
}

void TremlorGlyphIcon::registerImage(const QString& name, bool isTemplate)
{
    const QDir dir(folder());
    const QString file1x = dir.filePath(name + QStringLiteral(".png"));
    if (!QFileInfo(file1x).isFile())
        return;
    QPixmap base;
    if (!base.load(file1x))
        return;
    QIcon icon;
    QPixmap doubled;
    if (doubled.load(dir.filePath(name + QStringLiteral("@2x.png")))) {
        doubled.setDevicePixelRatio(2.0);
        icon.addPixmap(doubled);
    }
    icon.addPixmap(base);
    // A template would be tinted by the bar; ours keep their colours.
    icon.setIsMask(isTemplate);
    registry().images.insert(name, icon);
}

QIcon TremlorGlyphIcon::appIcon(const QString& executableFolder)
{
    static constexpr int sizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };
    const QString iconName = QStringLiteral("com.tremlor.app");
    QIcon icon;
    for (const int size : sizes) {
        const QString built = QStringLiteral("%1/icons/%2/%3.png").arg(executableFolder).arg(size).arg(iconName);
        const QString installed = QStringLiteral("%1/../share/icons/hicolor/%2x%2/apps/%3.png")
                                      .arg(executableFolder)
                                      .arg(size)
                                      .arg(iconName);
        for (const QString& file : { built, installed }) {
            if (QFileInfo(file).isFile()) {
                icon.addFile(file, QSize(size, size));
                break;
            }
        }
    }
    if (icon.isNull())
        icon = QIcon::fromTheme(iconName, named(QStringLiteral("tremlor-glyph-active")));
    return icon;
}

QIcon TremlorGlyphIcon::named(const QString& name)
{
    return registry().images.value(name);
}

QString TremlorGlyphIcon::folder()
{
    if (registry().folder.isEmpty())
        registry().folder = defaultFolder();
    return registry().folder;
}

void TremlorGlyphIcon::setFolder(const QString& folder)
{
    registry().folder = folder;
}

void TremlorGlyphIcon::resetForTesting()
{
    registry() = Registry {};
}

} // namespace tremlor
