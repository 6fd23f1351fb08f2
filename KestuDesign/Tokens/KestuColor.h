#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace kestu {

// The appearance a colour is resolved for. Qt 6.4 has no colour-scheme query, so it is read
// from the palette's window colour.
enum class KestuAppearance { light, dark, unspecified };

KestuAppearance appearanceOf(const QPalette& palette);
// The widget's own palette (which follows the application's) decides.
KestuAppearance appearanceOf(const QWidget* widget);

// A colour token: fixed, one colour per appearance, or a role of the palette (the platform's
// window colour and accent). Resolving allocates nothing.
class KestuColor final {
public:
    static KestuColor fixed(const QColor& color);
    static KestuColor appearance(const QColor& light, const QColor& dark);
    static KestuColor paletteRole(QPalette::ColorRole role);

    // Appearances that are neither light nor dark take the light colour.
    QColor resolve(KestuAppearance appearance) const;
    QColor resolve(const QPalette& palette) const;
    QColor resolve(const QWidget* widget) const;

    QColor light() const { return m_light; }
    QColor dark() const { return m_dark; }

private:
    KestuColor(const QColor& light, const QColor& dark, int role);

    QColor m_light;
    QColor m_dark;
    int m_role = -1;
};

// The kit's colour tokens, built once on first use (on the GUI thread) and then only read.
namespace Color {
const KestuColor& surface();
const KestuColor& surfaceSecondary();
const KestuColor& surfaceTertiary();
const KestuColor& text();
const KestuColor& textSecondary();
const KestuColor& separator();
const KestuColor& border();
const KestuColor& success();
const KestuColor& warning();
const KestuColor& danger();
// Not a kit token: the platform's accent colour (the palette's highlight), used where the kit
// needs an accent.
const KestuColor& accent();
// Plain white, for foregrounds on filled controls and the thumbs.
const KestuColor& white();
} // namespace Color

// A copy of `color` at `opacity` times its own alpha.
QColor withOpacity(QColor color, qreal opacity);

} // namespace kestu
