#include "KestuDesign/Components/KestuPressStyle.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuTransition.h"

#include <QAbstractButton>
#include <QVariantAnimation>

namespace kestu {

KestuPressStyle* KestuPressStyle::attach(QAbstractButton* button)
{
    return new KestuPressStyle(button);
}

KestuPressStyle::KestuPressStyle(QAbstractButton* button)
    : QObject(button)
    , m_button(button)
    , m_effect(new KestuTransitionEffect(button))
    , m_animation(new QVariantAnimation(this))
{
    button->setGraphicsEffect(m_effect);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_scale = value.toDouble();
        m_effect->setFrame(KestuTransition::Frame { 1.0, m_scale, 0.0 });
    });
    connect(button, &QAbstractButton::pressed, this, [this] { animateTo(pressedScale); });
    connect(button, &QAbstractButton::released, this, [this] { animateTo(1.0); });
}

void KestuPressStyle::animateTo(double target)
{
    // The spring starts from wherever the scale is now.
    m_animation->stop();
    m_animation->setStartValue(m_scale);
    m_animation->setEndValue(target);
    Animation::springSnappy().apply(m_animation);
    m_animation->start();
}

} // namespace kestu
