#include "Views/Popover/SectionReveal.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuTransition.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QEvent>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tremlor {

SectionReveal::SectionReveal(QWidget* content, int topGap, QWidget* parent)
    : QWidget(parent)
    , m_content(content)
    , m_topGap(topGap)
    , m_animation(new QVariantAnimation(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_content->setParent(this);
    m_content->installEventFilter(this);
    connect(
        m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) { setPresence(v.toDouble()); });
    connect(m_animation, &QVariantAnimation::finished, this, [this] { setPresence(m_target); });
    setPresence(0);
}

int SectionReveal::fullHeight() const
{
    const int content = m_content->hasHeightForWidth() && width() > 0 ? m_content->heightForWidth(width())
                                                                      : m_content->sizeHint().height();
    return m_topGap + content;
}

QSize SectionReveal::sizeHint() const
{
    // The spring overshoots a little; the height never does.
    const double shown = std::clamp(m_presence, 0.0, 1.0);
    return { m_content->sizeHint().width(), int(std::lround(fullHeight() * shown)) };
}

void SectionReveal::reveal(bool shown, bool animated)
{
    const double target = shown ? 1.0 : 0.0;
    if (target == m_target && (m_animation->state() == QAbstractAnimation::Running || m_presence == target))
        return;
    m_target = target;
    m_animation->stop();
    const bool onScreen = parentWidget() ? parentWidget()->isVisible() : isVisible();
    if (!animated || kestu::prefersReducedMotion() || !onScreen) {
        setPresence(target);
        return;
    }
    m_animation->setStartValue(m_presence);
    m_animation->setEndValue(target);
    kestu::Animation::springGentle().apply(m_animation);
    m_animation->start();
}

void SectionReveal::setPresence(double presence)
{
    m_presence = presence;
    const bool present = presence > 0.001 || m_target > 0;
    if (present && !m_fade) {
        m_fade = new kestu::KestuTransitionEffect(m_content);
        m_content->setGraphicsEffect(m_fade);
    }
    if (m_fade) {
        const double opacity = std::clamp(presence, 0.0, 1.0);
        m_fade->setFrame({ opacity, 1.0, 0.0 });
        // At rest nothing is drawn through the effect.
        if (opacity >= 1.0 || !present) {
            m_content->setGraphicsEffect(nullptr);
            m_fade = nullptr;
        }
    }
    m_content->setVisible(present);
    setVisible(present);
    updateGeometry();
    placeContent();
}

void SectionReveal::placeContent()
{
    // Anchored at the bottom: as the reveal grows, the content comes down from the top edge.
    const int full = fullHeight() - m_topGap;
    m_content->setGeometry(0, height() - full, width(), full);
}

void SectionReveal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

bool SectionReveal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_content && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeContent();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tremlor
