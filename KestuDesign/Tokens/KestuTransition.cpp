#include "KestuDesign/Tokens/KestuTransition.h"

#include "KestuDesign/Tokens/KestuAnimation.h"

#include <QPainter>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

namespace kestu {

KestuTransition::KestuTransition(bool fade, double scale, bool bottom)
    : m_fade(fade)
    , m_scale(scale)
    , m_bottom(bottom)
{
}

KestuTransition KestuTransition::kestuScale()
{
    return KestuTransition(true, 0.95, false);
}

KestuTransition KestuTransition::kestuSlideUp()
{
    return KestuTransition(true, 1.0, true);
}

KestuTransition KestuTransition::kestuFade()
{
    return KestuTransition(true, 1.0, false);
}

KestuTransition::Frame KestuTransition::frameAt(double presence, bool /*insertion*/) const
{
    // Insertion and removal are mirror images for every kit transition.
    Frame f;
    if (m_fade)
        f.opacity = presence;
    f.scale = m_scale + (1 - m_scale) * presence;
    if (m_bottom)
        f.dy = 1 - presence;
    return f;
}

namespace {
KestuTransitionEffect* effectOf(QWidget* widget)
{
    auto* effect = qobject_cast<KestuTransitionEffect*>(widget->graphicsEffect());
    if (!effect) {
        effect = new KestuTransitionEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    return effect;
}

void play(const KestuTransition& transition, QWidget* widget, const KestuAnimation& animation, bool insertion)
{
    auto* effect = effectOf(widget);
    // One transition at a time per widget: a new one replaces the running one.
    for (auto* running :
        widget->findChildren<QVariantAnimation*>(QStringLiteral("kestuTransition"), Qt::FindDirectChildrenOnly)) {
        running->stop(); // deletes itself once stopped
    }
    auto* anim = new QVariantAnimation(widget);
    anim->setObjectName(QStringLiteral("kestuTransition"));
    anim->setStartValue(insertion ? 0.0 : 1.0);
    anim->setEndValue(insertion ? 1.0 : 0.0);
    animation.apply(anim);
    QObject::connect(
        anim, &QVariantAnimation::valueChanged, effect, [effect, transition, insertion](const QVariant& v) {
            effect->setFrame(transition.frameAt(v.toDouble(), insertion));
        });
    QPointer<QWidget> target(widget);
    QPointer<KestuTransitionEffect> drawn(effect);
    QObject::connect(anim, &QVariantAnimation::finished, widget, [target, drawn, transition, insertion] {
        // An animation of no length (reduced motion) reports no value: end on the last frame.
        if (drawn)
            drawn->setFrame(transition.frameAt(insertion ? 1.0 : 0.0, insertion));
        if (target && !insertion)
            target->hide();
    });
    effect->setFrame(transition.frameAt(insertion ? 0.0 : 1.0, insertion));
    if (insertion)
        widget->show();
    anim->start(QAbstractAnimation::DeleteWhenStopped);
}
} // namespace

void KestuTransition::insert(QWidget* widget, const KestuAnimation& animation) const
{
    play(*this, widget, animation, true);
}

void KestuTransition::remove(QWidget* widget, const KestuAnimation& animation) const
{
    play(*this, widget, animation, false);
}

KestuTransitionEffect::KestuTransitionEffect(QObject* parent)
    : QGraphicsEffect(parent)
{
}

void KestuTransitionEffect::setFrame(const KestuTransition::Frame& frame)
{
    m_frame = frame;
    update();
}

void KestuTransitionEffect::draw(QPainter* painter)
{
    if (m_frame.opacity >= 1 && m_frame.scale == 1 && m_frame.dy == 0) {
        drawSource(painter);
        return;
    }
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset);
    const QRectF bounds = boundingRect();
    painter->save();
    painter->setOpacity(painter->opacity() * m_frame.opacity);
    painter->translate(bounds.center());
    painter->translate(0, m_frame.dy * bounds.height());
    painter->scale(m_frame.scale, m_frame.scale);
    painter->translate(-bounds.center());
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}

} // namespace kestu
