#include "KestuDesign/Components/KestuFocusRing.h"

#include "KestuDesign/Tokens/KestuColor.h"

#include <QList>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kestu {

namespace {
// The least contrast a ring keeps against what it meets (the WCAG figure for focus indicators).
constexpr double minimumContrast = 3.0;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// WCAG relative luminance of an opaque sRGB colour.
double luminance(const QColor& c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `top` as seen over the opaque `bottom`, in whole 8-bit channels as it is painted.
QColor over(const QColor& top, const QColor& bottom)
{
    const double a = top.alphaF();
    const auto channel = [a](double t, double b) { return int(std::lround((t * a + b * (1 - a)) * 255)); };
    return QColor(channel(top.redF(), bottom.redF()), channel(top.greenF(), bottom.greenF()),
        channel(top.blueF(), bottom.blueF()));
}

// The least contrast of `color` against any of `backgrounds`.
double leastContrast(const QColor& color, const QList<QColor>& backgrounds)
{
    double least = 21;
    for (const QColor& background : backgrounds)
        least = std::min(least, contrast(color, background));
    return least;
}

// `preferred` if it stands out from every one of `backgrounds`; else the least shift of it
// toward black or white (whichever stands out more from them) that does. Backgrounds of one
// appearance lie on one side of the middle, so one of the two always reaches 3:1.
QColor toneAgainst(const QColor& preferred, const QList<QColor>& backgrounds)
{
    if (leastContrast(preferred, backgrounds) >= minimumContrast)
        return preferred;
    const QColor black(Qt::black), white(Qt::white);
    const QColor toward = leastContrast(black, backgrounds) >= leastContrast(white, backgrounds) ? black : white;
    QColor found = toward;
    double lo = 0, hi = 1;
    for (int i = 0; i < 16; ++i) {
        const double t = (lo + hi) / 2;
        QColor shifted = toward;
        shifted.setAlphaF(float(t));
        const QColor candidate = over(shifted, preferred);
        if (leastContrast(candidate, backgrounds) >= minimumContrast) {
            found = candidate;
            hi = t;
        } else {
            lo = t;
        }
    }
    return found;
}

FocusRingColors ringColors(const QColor& accent, const QList<QColor>& outsides, const QColor& fill)
{
    QList<QColor> backgrounds, seenFills;
    for (const QColor& outside : outsides) {
        backgrounds << over(outside, Qt::white);
        seenFills << (fill.isValid() ? over(fill, backgrounds.last()) : backgrounds.last());
    }
    const QColor outer = toneAgainst(over(accent, backgrounds.first()), backgrounds);
    if (leastContrast(outer, seenFills) >= minimumContrast)
        return { outer, QColor() };
    // The inner line parts the ring from the fill: white as the kit's text on fills, else black.
    const QColor white(Qt::white);
    return { outer, leastContrast(white, seenFills) >= minimumContrast ? white : QColor(Qt::black) };
}

// A line of `width` whose outer edge follows `shape` inset by `inset`.
void strokeInside(
    QPainter& painter, const QRectF& shape, double radius, double inset, double width, const QColor& color)
{
    const double middle = inset + width / 2;
    const QRectF line = shape.adjusted(middle, middle, -middle, -middle);
    const double r = std::max(0.0, radius - middle);
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(line, r, r);
}

void paintRing(QPainter& painter, const QRectF& shape, double radius, const FocusRingColors& colors)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (colors.inner.isValid())
        strokeInside(painter, shape, radius, focusRingWidth, focusRingInnerWidth, colors.inner);
    strokeInside(painter, shape, radius, 0, focusRingWidth, colors.outer);
    painter.restore();
}
} // namespace

bool showsFocusRing(const QWidget* widget)
{
    return widget && widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

FocusRingColors focusRingColors(const QColor& accent, const QColor& outside, const QColor& fill)
{
    return ringColors(accent, { outside }, fill);
}

void paintFocusRing(QPainter& painter, const QRectF& shape, double radius, const QColor& accent, const QColor& outside,
    const QColor& fill)
{
    paintRing(painter, shape, radius, focusRingColors(accent, outside, fill));
}

void paintFocusRing(QPainter& painter, const QWidget* widget, const QRectF& shape, double radius, const QColor& fill,
    const QColor& outside)
{
    // Unless told, a control stands on its window or on one of the kit's raised surfaces (the
    // panel, cards, the sidebar): the ring stands out from both.
    const QList<QColor> outsides = outside.isValid()
        ? QList<QColor> { outside }
        : QList<QColor> { widget->palette().color(QPalette::Window), Color::surfaceSecondary().resolve(widget) };
    paintRing(painter, shape, radius, ringColors(Color::accent().resolve(widget), outsides, fill));
}

} // namespace kestu
