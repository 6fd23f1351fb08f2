#include "KestuDesign/Components/KestuHoverEffect.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QEvent>
#include <QPainter>
#include <QVariantAnimation>

namespace kestu {

KestuHoverEffect::KestuHoverEffect(QWidget* target)
    : QObject(target)
    , m_target(target)
    , m_animation(new QVariantAnimation(this))
{
    target->setAttribute(Qt::WA_Hover);
    target->installEventFilter(this);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_presence = value.toDouble();
        if (m_target)
            m_target->update();
    });
}

void KestuHoverEffect::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_animation->stop();
    m_animation->setStartValue(m_presence);
    m_animation->setEndValue(hovering ? 1.0 : 0.0);
    Animation::fadeQuick().apply(m_animation);
    m_animation->start();
}

bool KestuHoverEffect::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::HoverEnter:
            setHovering(true);
            break;
        case QEvent::Leave:
        case QEvent::HoverLeave:
            setHovering(false);
            break;
        case QEvent::Paint:
            // Painted under the widget's own content, which paints after this returns.
            if (m_presence > 0) {
                QPainter p(m_target);
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(Qt::NoPen);
                p.setBrush(withOpacity(Color::surfaceTertiary().resolve(m_target.data()), m_presence));
                p.drawRoundedRect(QRectF(m_target->rect()), Radius::medium, Radius::medium);
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

KestuHoverEffect* kestuHoverEffect(QWidget* widget)
{
    return new KestuHoverEffect(widget);
}

} // namespace kestu
