#include "Views/Shared/TremlorColor.h"

namespace tremlor::Color {

QColor accent()
{
    return QColor::fromRgbF(0.96f, 0.62f, 0.04f);
}

QColor accentDark()
{
    return QColor::fromRgbF(0.85f, 0.47f, 0.02f);
}

QLinearGradient accentGradient(const QRectF& rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setColorAt(0, accent());
    gradient.setColorAt(1, accentDark());
    return gradient;
}

} // namespace tremlor::Color
