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
    , m_animation(new QVariantAnimation(this))
{
    connect(m_animation, &QVariantAnimation::valueChanged, this,
        [this](const QVariant& value) { setScale(value.toDouble()); });
    // A spring's curve may end a hair off its target: settle on it exactly.
    connect(m_animation, &QVariantAnimation::finished, this, [this] { setScale(m_animation->endValue().toDouble()); });
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

void KestuPressStyle::setScale(double scale)
{
    m_scale = scale;
    if (!m_button)
        return;
    // Qt cannot paint an effect inside another: the effect goes as soon as the button is back at
    // full size, so only a button being pressed ever carries one.
    if (scale == 1.0) {
        if (m_effect && m_button->graphicsEffect() == m_effect)
            m_button->setGraphicsEffect(nullptr);
        return;
    }
    if (!m_effect) {
        m_effect = new KestuTransitionEffect(m_button);
        m_button->setGraphicsEffect(m_effect);
    }
    m_effect->setFrame(KestuTransition::Frame { 1.0, m_scale, 0.0 });
}

} // namespace kestu
