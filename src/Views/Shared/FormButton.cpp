#include "Views/Shared/FormButton.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>
#include <QPainterPath>

namespace tremlor {

FormButton::FormButton(const QString& title, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(title);
    setAccessibleName(title);
    setFont(kestu::Font::callout());
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QSize FormButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 2 * static_cast<int>(kestu::Space::space12), 26);
}

void FormButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, kestu::Radius::small + 2, kestu::Radius::small + 2);
    const bool dark = kestu::appearanceOf(this) == kestu::KestuAppearance::dark;
    QColor fill = kestu::Color::surfaceTertiary().resolve(this);
    if (isEnabled() && (isDown() || underMouse()))
        fill = dark ? fill.lighter(isDown() ? 135 : 120) : fill.darker(isDown() ? 112 : 105);
    p.fillPath(path, fill);
    p.setPen(QPen(kestu::Color::border().resolve(this), 1));
    p.drawPath(path);
    const QColor textColor = isEnabled() ? kestu::Color::text().resolve(this)
                                         : kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.7);
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 2);
    p.setPen(textColor);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace tremlor
