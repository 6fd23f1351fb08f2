#include "KestuDesign/Tokens/KestuShadow.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kestu {

const KestuShadow& KestuShadow::subtle()
{
    static const KestuShadow s { QColor::fromRgbF(0, 0, 0, 0.05f), 2, 0, 1 };
    return s;
}
const KestuShadow& KestuShadow::medium()
{
    static const KestuShadow s { QColor::fromRgbF(0, 0, 0, 0.1f), 8, 0, 2 };
    return s;
}
const KestuShadow& KestuShadow::thumb()
{
    static const KestuShadow s { QColor::fromRgbF(0, 0, 0, 0.18f), 3, 0, 1 };
    return s;
}

void paintKestuShadow(QPainter& painter, const QRectF& shape, double cornerRadius, const KestuShadow& shadow)
{
    // A blur approximated by layers from `radius` outside the shape to `radius` inside it: the
    // alpha falls off linearly and reaches about the shadow's own alpha at the shape's edge.
    const int layers = std::clamp(int(std::ceil(shadow.radius * 2)), 2, 16);
    const QRectF base = shape.translated(shadow.x, shadow.y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor layerColor = shadow.color;
    layerColor.setAlphaF(float(std::min(1.0, 2.0 * shadow.color.alphaF() / layers)));
    painter.setBrush(layerColor);
    for (int i = 0; i < layers; ++i) {
        const double grow = shadow.radius * (1.0 - 2.0 * i / (layers - 1));
        const QRectF r = base.adjusted(-grow, -grow, grow, grow);
        if (r.width() <= 0 || r.height() <= 0)
            break;
        const double radius = std::clamp(cornerRadius + grow, 0.0, std::min(r.width(), r.height()) / 2);
        painter.drawRoundedRect(r, radius, radius);
    }
    painter.restore();
}

void kestuShadow(QWidget* widget, const KestuShadow& shadow)
{
    auto* effect = new QGraphicsDropShadowEffect(widget);
    effect->setColor(shadow.color);
    effect->setBlurRadius(shadow.radius * 2);
    effect->setOffset(shadow.x, shadow.y);
    widget->setGraphicsEffect(effect);
}

} // namespace kestu
