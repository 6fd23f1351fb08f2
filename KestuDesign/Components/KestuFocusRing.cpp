#include "KestuDesign/Components/KestuFocusRing.h"

#include "KestuDesign/Tokens/KestuColor.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace kestu {

namespace {
constexpr double gapWidth = 1.5;

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
} // namespace

bool showsFocusRing(const QWidget* widget)
{
    return widget && widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paintFocusRing(QPainter& painter, const QWidget* widget, const QRectF& shape, double radius, const QColor& gap)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (gap.isValid())
        strokeInside(painter, shape, radius, focusRingWidth, gapWidth, gap);
    strokeInside(painter, shape, radius, 0, focusRingWidth, Color::accent().resolve(widget));
    painter.restore();
}

} // namespace kestu
