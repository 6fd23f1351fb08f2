#include "KestuDesign/Resources/KestuSymbols.h"

#include <QHash>
#include <QPainter>

#include <cmath>

static void initKestuSymbolResources()
{
    Q_INIT_RESOURCE(kestu_symbols);
}

namespace kestu {

namespace {
struct Entry {
    const char* name;
    const char* themeName; // nullptr: no theme icon fits
};

// A theme icon is used only where its shape matches the symbol.
constexpr Entry kitTable[] = {
    { "magnifyingglass", "edit-find-symbolic" },
    { "xmark.circle.fill", nullptr },
    { "checkmark.circle.fill", nullptr },
    { "pencil", "document-edit-symbolic" },
};

struct PixmapKey {
    QString name;
    int size;
    QRgb color;
    int dprPercent;
    bool operator==(const PixmapKey&) const = default;
};

size_t qHash(const PixmapKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.name, key.size, key.color, key.dprPercent);
}

QHash<QString, QIcon>& icons()
{
    static QHash<QString, QIcon> table = [] {
        initKestuSymbolResources();
        QHash<QString, QIcon> t;
        for (const Entry& entry : kitTable) {
            const QString name = QLatin1String(entry.name);
            QIcon icon;
            if (entry.themeName && QIcon::hasThemeIcon(QLatin1String(entry.themeName)))
                icon = QIcon::fromTheme(QLatin1String(entry.themeName));
            if (icon.isNull())
                icon = QIcon(QStringLiteral(":/kestu/symbols/%1.svg").arg(name));
            t.insert(name, icon);
        }
        return t;
    }();
    return table;
}

QHash<PixmapKey, QPixmap>& pixmapCache()
{
    static QHash<PixmapKey, QPixmap> cache;
    return cache;
}
} // namespace

QStringList KestuSymbols::kitNames()
{
    QStringList names;
    for (const Entry& entry : kitTable)
        names << QLatin1String(entry.name);
    return names;
}

bool KestuSymbols::contains(const QString& name)
{
    return icons().contains(name);
}

QIcon KestuSymbols::icon(const QString& name)
{
    return icons().value(name);
}

void KestuSymbols::registerSymbol(const QString& name, const QIcon& icon)
{
    icons().insert(name, icon);
    pixmapCache().removeIf([&](const auto& it) { return it.key().name == name; });
}

QPixmap KestuSymbols::pixmap(const QString& name, int pixelSize, const QColor& color, qreal devicePixelRatio)
{
    const PixmapKey key { name, pixelSize, color.rgba(), int(std::lround(devicePixelRatio * 100)) };
    auto& cache = pixmapCache();
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    const auto found = icons().constFind(name);
    if (found == icons().constEnd() || pixelSize <= 0)
        return {};
    const int device = std::max(1, int(std::lround(pixelSize * devicePixelRatio)));
    QPixmap tinted(device, device);
    tinted.fill(Qt::transparent);
    {
        QPainter p(&tinted);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        found->paint(&p, QRect(0, 0, device, device));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(tinted.rect(), color);
    }
    tinted.setDevicePixelRatio(devicePixelRatio);
    // Colours are tokens, so few entries exist; a host animating a symbol's colour must not
    // grow the cache without bound.
    if (cache.size() >= 512)
        cache.clear();
    cache.insert(key, tinted);
    return tinted;
}

void KestuSymbols::paint(QPainter& painter, const QRectF& rect, const QString& name, int pixelSize, const QColor& color)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(name, pixelSize, color, dpr);
    if (pm.isNull())
        return;
    const QSizeF size(pixelSize, pixelSize);
    const QPointF topLeft(rect.center().x() - size.width() / 2, rect.center().y() - size.height() / 2);
    painter.drawPixmap(QRectF(topLeft, size), pm, QRectF(pm.rect()));
}

} // namespace kestu
