#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace kestu {

// System symbol names ("magnifyingglass", "xmark.circle.fill", …) to icons: the freedesktop
// icon theme where one fits, else a small SVG of the kit's own. Hosts add their own names.
// GUI thread only.
class KestuSymbols final {
public:
    KestuSymbols() = delete;

    // Every name the kit's own controls draw.
    static QStringList kitNames();
    static bool contains(const QString& name);
    // The symbol's icon; a null icon for an unknown name.
    static QIcon icon(const QString& name);
    // Adds or replaces a symbol (hosts register the names their views use).
    static void registerSymbol(const QString& name, const QIcon& icon);

    // The symbol drawn in one colour at `pixelSize` (a square), cached, so painting the same
    // symbol again allocates nothing. Null for an unknown name.
    static QPixmap pixmap(const QString& name, int pixelSize, const QColor& color, qreal devicePixelRatio);
    // Draws the symbol centred in `rect` at the size of a glyph of `pixelSize`.
    static void paint(QPainter& painter, const QRectF& rect, const QString& name, int pixelSize, const QColor& color);
};

} // namespace kestu
