#include "App/TremlorGlyphIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <utility>

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

// An image of 18 x 18 points whatever the pixel size of its files: drawn from the 1x file, or
// from the @2x one whenever more than one pixel per point is wanted, scaled to the size asked.
class GlyphEngine final : public QIconEngine {
public:
    GlyphEngine(QPixmap single, QPixmap doubled)
        : m_single(std::move(single))
        , m_doubled(std::move(doubled))
    {
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return logical().scaled(size, Qt::KeepAspectRatio);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return { logical() }; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` is in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal) override
    {
        const QSize target = logical().scaled(size, Qt::KeepAspectRatio);
        if (target.isEmpty())
            return {};
        const bool dense = target.width() > TremlorGlyphIcon::pointSize && !m_doubled.isNull();
        const QPixmap& source = dense ? m_doubled : m_single;
        if (source.size() == target)
            return source;
        return source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = scaledPixmap(rect.size() * dpr, mode, state, dpr);
        pm.setDevicePixelRatio(dpr);
        const QSizeF drawn = QSizeF(pm.size()) / dpr;
        painter->drawPixmap(QRectF(QPointF(rect.x() + (rect.width() - drawn.width()) / 2,
                                       rect.y() + (rect.height() - drawn.height()) / 2),
                                drawn),
            pm, QRectF(pm.rect()));
    }

    QIconEngine* clone() const override { return new GlyphEngine(m_single, m_doubled); }
    QString key() const override { return QStringLiteral("TremlorGlyph"); }

private:
    static QSize logical() { return { TremlorGlyphIcon::pointSize, TremlorGlyphIcon::pointSize }; }

    QPixmap m_single;
    QPixmap m_doubled;
};
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
    QPixmap doubled; // optional: stays null when missing or unreadable
    doubled.load(dir.filePath(name + QStringLiteral("@2x.png")));
    QIcon icon(new GlyphEngine(base, doubled));
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
