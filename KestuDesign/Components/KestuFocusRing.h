#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QWidget;

namespace kestu {

// The keyboard focus ring of the kit's controls: a line in the accent colour along the inside
// of a control's shape, so it never leaves the widget.

inline constexpr double focusRingWidth = 2;

// Whether `widget` shows its ring: it has the focus and the focus reached its window by keyboard
// (Qt's rule: Tab or an arrow key moved it there), so a control that was only clicked shows none.
bool showsFocusRing(const QWidget* widget);

// Paints the ring along the inside of `shape` (in `widget`'s coordinates, corners of `radius`).
// On a filled control, a valid `gap` draws a line of that colour between the ring and the fill,
// so the ring stands out from a fill of the accent colour too.
void paintFocusRing(
    QPainter& painter, const QWidget* widget, const QRectF& shape, double radius, const QColor& gap = QColor());

} // namespace kestu
