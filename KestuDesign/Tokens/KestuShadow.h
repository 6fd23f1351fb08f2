#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QWidget;

namespace kestu {

// A drop shadow: colour, blur radius and offset in points.
struct KestuShadow {
    QColor color;
    double radius = 0;
    double x = 0;
    double y = 0;

    static const KestuShadow& subtle();
    static const KestuShadow& medium();
    static const KestuShadow& thumb();
};

// Paints `shadow` under a rounded rectangle (a circle when the radius is half the side),
// before the shape itself is drawn. Allocates nothing.
void paintKestuShadow(QPainter& painter, const QRectF& shape, double cornerRadius, const KestuShadow& shadow);
// Gives a whole widget the shadow (a QGraphicsDropShadowEffect owned by the widget).
void kestuShadow(QWidget* widget, const KestuShadow& shadow);

} // namespace kestu
