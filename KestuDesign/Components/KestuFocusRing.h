#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QWidget;

namespace kestu {

// The keyboard focus ring of the kit's controls: a line along the inside of a control's shape,
// so it never leaves the widget. It is drawn in the accent colour wherever that stands out
// (3:1) from what surrounds it; otherwise it turns darker or lighter until it does, and where
// one colour cannot stand out from both the outside and the control's fill, a second, inner
// line stands out from the fill.

inline constexpr double focusRingWidth = 2;
// The inner line's width, drawn inside the ring when the fill needs it.
inline constexpr double focusRingInnerWidth = 1.5;
// Room a control leaves around what it draws for the ring and its inner line.
inline constexpr double focusRingRoom = focusRingWidth + focusRingInnerWidth;

// Whether `widget` shows its ring: it has the focus and the focus reached its window by keyboard
// (Qt's rule: Tab or an arrow key moved it there), so a control that was only clicked shows none.
bool showsFocusRing(const QWidget* widget);

// The colours of a ring: `outer` stands out from the colour outside the shape, `inner` (when
// valid) is the inner line that stands out from the fill.
struct FocusRingColors {
    QColor outer;
    QColor inner;
};

// The ring for `accent` between `outside` and `fill` (invalid or transparent: no fill, the ring
// lies on the outside colour; a translucent fill is seen over the outside colour).
FocusRingColors focusRingColors(const QColor& accent, const QColor& outside, const QColor& fill = QColor());

// For views that draw the ring themselves, on a list row or an item-delegate cell: paints it
// along the inside of `shape` (corners of `radius`) between `outside`, the colour around the
// shape, and `fill`, what the shape is filled with under the ring.
void paintFocusRing(QPainter& painter, const QRectF& shape, double radius, const QColor& accent, const QColor& outside,
    const QColor& fill = QColor());

// Paints the ring of `widget` along the inside of `shape` (in `widget`'s coordinates, corners of
// `radius`) in its palette's accent. `fill` is the control's own colour under the ring (invalid:
// none); `outside` is what the control stands on (invalid: its window or the kit's raised
// surface, surfaceSecondary, as on the panel, cards and sidebars; the ring stands out from both).
void paintFocusRing(QPainter& painter, const QWidget* widget, const QRectF& shape, double radius,
    const QColor& fill = QColor(), const QColor& outside = QColor());

} // namespace kestu
