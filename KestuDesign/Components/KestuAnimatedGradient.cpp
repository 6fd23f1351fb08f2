#include "KestuDesign/Components/KestuAnimatedGradient.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QEasingCurve>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>

#include <climits>
#include <cmath>

namespace kestu {

namespace {
const QEasingCurve& easeInOut()
{
    static const QEasingCurve curve = KestuAnimation::easeInOut(1.0).easingCurve();
    return curve;
}

// The full there-and-back cycle must fit the animation's int milliseconds.
constexpr qint64 maxSweepMs = INT_MAX / 2;
} // namespace

KestuAnimatedGradient::KestuAnimatedGradient(QList<QColor> colors, double duration, QWidget* parent)
    : QWidget(parent)
    , m_colors(std::move(colors))
    , m_duration(duration)
    , m_sweepMs(sweepMilliseconds(duration))
    , m_swing(new QVariantAnimation(this))
{
    m_swing->setObjectName(QStringLiteral("gradient-swing"));
    m_swing->setStartValue(0.0);
    m_swing->setEndValue(1.0);
    m_swing->setLoopCount(-1);
    if (m_sweepMs > 0)
        m_swing->setDuration(int(2 * m_sweepMs));
    connect(m_swing, &QVariantAnimation::valueChanged, this, [this] {
        m_phase = phaseAt(m_swing->currentTime(), m_sweepMs);
        update();
    });
}

qint64 KestuAnimatedGradient::sweepMilliseconds(double durationSeconds)
{
    if (!std::isfinite(durationSeconds) || durationSeconds <= 0.0)
        return 0;
    const double ms = std::round(durationSeconds * 1000.0);
    if (ms < 1.0)
        return 0;
    return ms >= double(maxSweepMs) ? maxSweepMs : qint64(ms);
}

double KestuAnimatedGradient::phaseAt(qint64 elapsedMs, qint64 durationMs)
{
    if (durationMs <= 0 || elapsedMs <= 0)
        return 0.0;
    const qint64 inCycle = elapsedMs % (2 * durationMs);
    const double t = inCycle <= durationMs ? double(inCycle) / double(durationMs)
                                           : double(2 * durationMs - inCycle) / double(durationMs);
    return easeInOut().valueForProgress(t);
}

void KestuAnimatedGradient::setAxisEnds(const AxisEnds& ends)
{
    m_axisEnds = ends;
    update();
}

QLineF KestuAnimatedGradient::axisAt(double phase) const
{
    const auto between = [phase](QPointF zero, QPointF one) { return zero + (one - zero) * phase; };
    const QPointF start = between(m_axisEnds.atZero.p1(), m_axisEnds.atOne.p1());
    const QPointF end = between(m_axisEnds.atZero.p2(), m_axisEnds.atOne.p2());
    const qreal w = width(), h = height();
    return QLineF(start.x() * w, start.y() * h, end.x() * w, end.y() * h);
}

void KestuAnimatedGradient::paintEvent(QPaintEvent*)
{
    if (m_colors.isEmpty())
        return;
    QPainter painter(this);
    if (m_colors.size() == 1) {
        painter.fillRect(rect(), m_colors.first());
        return;
    }
    const QLineF axis = axisAt(m_phase);
    QLinearGradient gradient(axis.p1(), axis.p2());
    const qsizetype last = m_colors.size() - 1;
    for (qsizetype i = 0; i <= last; ++i)
        gradient.setColorAt(double(i) / double(last), m_colors.at(i));
    painter.fillRect(rect(), gradient);
}

void KestuAnimatedGradient::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Reduced motion keeps the axis still on its first diagonal.
    if (m_sweepMs > 0 && !prefersReducedMotion() && m_swing->state() != QAbstractAnimation::Running)
        m_swing->start();
}

void KestuAnimatedGradient::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_swing->stop();
    m_phase = 0.0;
}

} // namespace kestu
