#include "KestuDesign/Tokens/KestuColor.h"

#include <QWidget>

namespace kestu {

namespace {
QColor rgb(double r, double g, double b, double opacity = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(opacity));
}
} // namespace

KestuAppearance appearanceOf(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Window).lightnessF() < 0.5 ? KestuAppearance::dark
                                                                                : KestuAppearance::light;
}

KestuAppearance appearanceOf(const QWidget* widget)
{
    return widget ? appearanceOf(widget->palette()) : appearanceOf(QPalette());
}

KestuColor::KestuColor(const QColor& light, const QColor& dark, int role)
    : m_light(light)
    , m_dark(dark)
    , m_role(role)
{
}

KestuColor KestuColor::fixed(const QColor& color)
{
    return KestuColor(color, color, -1);
}

KestuColor KestuColor::appearance(const QColor& light, const QColor& dark)
{
    return KestuColor(light, dark, -1);
}

KestuColor KestuColor::paletteRole(QPalette::ColorRole role)
{
    return KestuColor(QColor(), QColor(), int(role));
}

QColor KestuColor::resolve(KestuAppearance appearance) const
{
    if (m_role >= 0)
        return QPalette().color(QPalette::ColorRole(m_role));
    return appearance == KestuAppearance::dark ? m_dark : m_light;
}

QColor KestuColor::resolve(const QPalette& palette) const
{
    if (m_role >= 0)
        return palette.color(QPalette::Active, QPalette::ColorRole(m_role));
    return appearanceOf(palette) == KestuAppearance::dark ? m_dark : m_light;
}

QColor KestuColor::resolve(const QWidget* widget) const
{
    return resolve(widget ? widget->palette() : QPalette());
}

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

namespace Color {
// Function-local statics: built on first read, once, thread-safely.
const KestuColor& surface()
{
    static const KestuColor c = KestuColor::paletteRole(QPalette::Window);
    return c;
}
const KestuColor& surfaceSecondary()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.96, 0.96, 0.97), rgb(0.17, 0.17, 0.18));
    return c;
}
const KestuColor& surfaceTertiary()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.92, 0.92, 0.93), rgb(0.23, 0.23, 0.24));
    return c;
}
const KestuColor& text()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.11, 0.11, 0.12), rgb(0.96, 0.96, 0.97));
    return c;
}
const KestuColor& textSecondary()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.53, 0.53, 0.55), rgb(0.60, 0.60, 0.62));
    return c;
}
const KestuColor& separator()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.82, 0.82, 0.84, 0.2), rgb(0.33, 0.33, 0.35, 0.3));
    return c;
}
const KestuColor& border()
{
    static const KestuColor c = KestuColor::appearance(rgb(0.82, 0.82, 0.84, 0.4), rgb(0.33, 0.33, 0.35, 0.5));
    return c;
}
const KestuColor& success()
{
    static const KestuColor c = KestuColor::fixed(rgb(0.2, 0.78, 0.35));
    return c;
}
const KestuColor& warning()
{
    static const KestuColor c = KestuColor::fixed(rgb(0.95, 0.75, 0.2));
    return c;
}
const KestuColor& danger()
{
    static const KestuColor c = KestuColor::fixed(rgb(0.92, 0.26, 0.24));
    return c;
}
const KestuColor& accent()
{
    static const KestuColor c = KestuColor::paletteRole(QPalette::Highlight);
    return c;
}
const KestuColor& white()
{
    static const KestuColor c = KestuColor::fixed(QColor(Qt::white));
    return c;
}
} // namespace Color

} // namespace kestu
