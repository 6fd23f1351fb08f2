#include "Views/Popover/RunningIndicator.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace tremlor {

namespace {
// The pulse's ease-in-out for each way, shared by every dot.
const QEasingCurve& halfCurve()
{
    static const QEasingCurve curve
        = kestu::KestuAnimation::easeInOut(RunningIndicator::pulseHalfPeriodMs / 1000.0).easingCurve();
    return curve;
}
} // namespace

RunningIndicator::RunningIndicator(bool isActiveTarget, QWidget* parent)
    : QWidget(parent)
    , m_isActiveTarget(isActiveTarget)
    , m_pulse(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("running-indicator"));
    setAccessibleName(tr("Running"));
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One loop is down and back up; progress 0…1 over both ways, eased on each.
    m_pulse->setStartValue(0.0);
    m_pulse->setEndValue(1.0);
    m_pulse->setDuration(2 * pulseHalfPeriodMs);
    m_pulse->setLoopCount(-1);
    // Repaints only when the drawn opacity changes a step, not on every frame of the slow pulse.
    connect(m_pulse, &QVariantAnimation::valueChanged, this, [this] {
        const int alpha = int(std::lround(pulseOpacity() * 255));
        if (alpha != m_drawnAlpha) {
            m_drawnAlpha = alpha;
            update();
        }
    });
    // A preference changed while the dot shows stops or resumes its pulse at once.
    if (auto* motion = kestu::ReducedMotion::notifier()) {
        connect(motion, &kestu::ReducedMotionNotifier::changed, this, [this](bool reduced) {
            if (reduced)
                stopPulse();
            else
                startPulseIfWanted();
        });
    }
}

void RunningIndicator::setActiveTarget(bool isActiveTarget)
{
    if (isActiveTarget == m_isActiveTarget)
        return;
    m_isActiveTarget = isActiveTarget;
    if (isActiveTarget)
        startPulseIfWanted();
    else
        stopPulse();
}

double RunningIndicator::pulseOpacity() const
{
    if (!isPulsing())
        return restingOpacity;
    const double t = m_pulse->currentValue().toDouble();
    const double way = t < 0.5 ? t * 2 : (1 - t) * 2;
    return restingOpacity - (restingOpacity - pulseLowOpacity) * halfCurve().valueForProgress(way);
}

bool RunningIndicator::isPulsing() const
{
    return m_pulse->state() == QAbstractAnimation::Running;
}

void RunningIndicator::startPulseIfWanted()
{
    if (!m_isActiveTarget || kestu::prefersReducedMotion() || !isVisible() || isPulsing())
        return;
    m_pulse->start();
}

void RunningIndicator::stopPulse()
{
    m_pulse->stop();
    m_pulse->setCurrentTime(0);
    m_drawnAlpha = 255;
    update();
}

void RunningIndicator::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    startPulseIfWanted();
}

void RunningIndicator::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    stopPulse();
}

void RunningIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setOpacity(pulseOpacity());
    p.setBrush(kestu::Color::success().resolve(this));
    p.drawEllipse(QRectF(0, 0, diameter, diameter));
}

} // namespace tremlor
