#include "Views/Popover/FooterIconButton.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>
#include <QVariantAnimation>

namespace tremlor {

FooterIconButton::FooterIconButton(
    const QString& symbol, const QString& tooltip, const QString& identifier, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
{
    setObjectName(identifier);
    setToolTip(tooltip);
    setAccessibleName(tooltip);
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it (Space presses it); a click leaves the keyboard with the panel.
    setFocusPolicy(Qt::TabFocus);
}

void FooterIconButton::turnTo(double degrees, bool immediately)
{
    if (m_turn)
        m_turn->stop();
    if (immediately || !isVisible()) {
        m_angle = degrees;
        update();
        return;
    }
    if (!m_turn) {
        m_turn = new QVariantAnimation(this);
        connect(m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            m_angle = v.toDouble();
            update();
        });
    }
    m_turn->setStartValue(m_angle);
    m_turn->setEndValue(degrees);
    kestu::Animation::springSnappy().apply(m_turn);
    m_turn->start();
}

void FooterIconButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF box(rect());
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, box, kestu::Radius::small + 2);
    if (m_angle != 0) {
        p.translate(box.center());
        p.rotate(m_angle);
        p.translate(-box.center());
    }
    kestu::KestuSymbols::paint(p, box, m_symbol, symbolSize, kestu::Color::textSecondary().resolve(this));
}

} // namespace tremlor
