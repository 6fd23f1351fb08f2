#include "Views/Shared/Hairline.h"

#include "KestuDesign/Tokens/KestuColor.h"

#include <QPainter>

namespace tremlor {

Hairline::Hairline(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Hairline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kestu::Color::border().resolve(this));
}

} // namespace tremlor
