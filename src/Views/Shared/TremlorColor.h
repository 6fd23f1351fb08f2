#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QRectF>

namespace tremlor::Color {

// The product palette: the same in light and dark appearance.
QColor accent();
QColor accentDark();
// accent to accentDark from the top-leading to the bottom-trailing corner of `rect`.
QLinearGradient accentGradient(const QRectF& rect);

} // namespace tremlor::Color
