#include "Views/Popover/ActivityRing.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Shared/AccessibleFactory.h"
#include "Views/Shared/TremlorColor.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tremlor {

namespace {

constexpr double breathLow = 0.3;
constexpr double breathHigh = 0.7;
constexpr double breathHalfSeconds = 3.0;
constexpr double urgentLow = 0.85;
constexpr double urgencyHalfSeconds = 0.5;
constexpr double bounceTop = 1.1;
constexpr double bounceDelaySeconds = 0.2;

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// A repeating, reversing ease-in-out between `from` and `to`, each way in `halfSeconds`.
QVariantAnimation* makeRepeating(
    QObject* parent, double halfSeconds, std::function<void(double)> apply, double from, double to)
{
    auto* animation = new QVariantAnimation(parent);
    const int halfMs = int(halfSeconds * 1000);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(2 * halfMs);
    animation->setLoopCount(-1);
    const kestu::KestuAnimation ease = kestu::KestuAnimation::easeInOut(halfSeconds);
    QObject::connect(animation, &QVariantAnimation::valueChanged, parent, [=](const QVariant& v) {
        const double phase = v.toDouble();
        const double leg = phase < 0.5 ? 2 * phase : 2 - 2 * phase;
        apply(from + (to - from) * ease.valueAt(leg * halfMs));
    });
    return animation;
}

class RingAccessible final : public QAccessibleWidget {
public:
    explicit RingAccessible(ActivityRing* ring)
        : QAccessibleWidget(ring, QAccessible::ProgressBar)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<ActivityRing*>(widget())->accessibilityProgressValue();
        return QAccessibleWidget::text(t);
    }
};

} // namespace

double clampedFraction(double value)
{
    if (!std::isfinite(value))
        return value > 0 ? 1.0 : 0.0;
    return std::clamp(value, 0.0, 1.0);
}

ActivityRing::ActivityRing(double size, double lineWidth, Content content, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_lineWidth(lineWidth)
    , m_content(std::move(content))
{
    installAccessible<ActivityRing, RingAccessible>();
    setObjectName(QStringLiteral("activity-ring"));
    setAccessibleName(tr("Session progress"));
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TranslucentBackground);
}

ActivityRing::~ActivityRing() = default;

QSize ActivityRing::sizeHint() const
{
    const int side = int(std::ceil(m_size)) + 2 * bounceMargin;
    return { side, side };
}

void ActivityRing::setInputs(const Inputs& inputs)
{
    const Inputs old = m_inputs;
    m_inputs = inputs;
    // The handlers in their order: remaining seconds, progress, active, indefinite.
    if (!same(old.remainingSeconds, inputs.remainingSeconds))
        onRemainingSecondsChanged();
    if (!same(old.progress, inputs.progress))
        onProgressChanged();
    if (old.isActive != inputs.isActive)
        onActiveChanged();
    if (old.isIndefinite != inputs.isIndefinite)
        onIndefiniteChanged();
    if (old.isPaused != inputs.isPaused || old.isActive != inputs.isActive) {
        onRemainingSecondsChanged(); // the last-minute pulse stops while paused
        onIndefiniteChanged(); // breathing holds while paused and resumes after
    }
    const bool valueChanged = !same(old.progress, inputs.progress) || old.isActive != inputs.isActive
        || old.isPaused != inputs.isPaused || old.isIndefinite != inputs.isIndefinite;
    if (valueChanged)
        update();
    if (!same(old.progress, inputs.progress) || old.isActive != inputs.isActive
        || old.isIndefinite != inputs.isIndefinite)
        if (QAccessible::isActive()) {
            QAccessibleValueChangeEvent event(this, accessibilityProgressValue());
            QAccessible::updateAccessibility(&event);
        }
}

double ActivityRing::effectiveProgress() const
{
    if (m_inputs.isIndefinite && m_inputs.isActive && !m_inputs.isPaused)
        return kestu::prefersReducedMotion() ? 0.5 : m_infinitePulse;
    return m_animatedProgress;
}

bool ActivityRing::inUrgencyWindow() const
{
    const double r = m_inputs.remainingSeconds;
    return !m_inputs.isIndefinite && m_inputs.isActive && !m_inputs.isPaused && r > 0 && r <= 60;
}

double ActivityRing::drawnOpacity() const
{
    return inUrgencyWindow() && !kestu::prefersReducedMotion() ? m_urgentOpacity : 1.0;
}

QString ActivityRing::accessibilityProgressValue() const
{
    if (!m_inputs.isActive)
        return tr("Not active");
    if (m_inputs.isIndefinite)
        return tr("Infinite session active");
    // Clamped first: converting an out-of-range double to an integer is undefined.
    const int percent = int(std::trunc(clampedFraction(m_inputs.progress) * 100));
    return tr("%1 percent complete").arg(percent);
}

void ActivityRing::onRemainingSecondsChanged()
{
    if (inUrgencyWindow() && !kestu::prefersReducedMotion() && isVisible())
        startUrgencyPulse();
    else
        stopUrgencyPulse();
}

void ActivityRing::onProgressChanged()
{
    const double p = m_inputs.progress;
    const bool reduced = kestu::prefersReducedMotion();
    if (reduced)
        setAnimatedProgress(clampedFraction(p));
    else
        moveProgressTo(clampedFraction(p), false);
    if (p >= 1.0 && !reduced)
        runCompletionBounce();
}

void ActivityRing::onActiveChanged()
{
    if (!m_inputs.isActive) {
        if (m_progressMove)
            m_progressMove->stop();
        if (m_bounce)
            m_bounce->stop();
        setAnimatedProgress(0);
        m_completionScale = 1.0;
        update();
        return;
    }
    if (!kestu::prefersReducedMotion())
        moveProgressTo(m_inputs.isIndefinite ? breathLow : clampedFraction(m_inputs.progress), true);
}

void ActivityRing::onAppear()
{
    if (!m_inputs.isActive)
        setAnimatedProgress(0);
    else if (!m_inputs.isIndefinite)
        setAnimatedProgress(clampedFraction(m_inputs.progress));
    else
        setAnimatedProgress(breathLow);
    onIndefiniteChanged();
    onRemainingSecondsChanged();
}

void ActivityRing::onIndefiniteChanged()
{
    // The breathing only shows while an indefinite session runs unpaused; it runs no timer
    // otherwise.
    const bool wanted = m_inputs.isIndefinite && m_inputs.isActive && !m_inputs.isPaused
        && !kestu::prefersReducedMotion() && isVisible();
    if (wanted)
        startInfinitePulse();
    else
        stopBreathing();
}

void ActivityRing::motionPreferenceChanged()
{
    if (kestu::prefersReducedMotion()) {
        if (m_bounce)
            m_bounce->stop();
        m_completionScale = 1.0;
        setAnimatedProgress(
            m_inputs.isActive ? (m_inputs.isIndefinite ? breathLow : clampedFraction(m_inputs.progress)) : 0);
    }
    onIndefiniteChanged();
    onRemainingSecondsChanged();
    update();
}

void ActivityRing::startInfinitePulse()
{
    if (kestu::prefersReducedMotion())
        return;
    if (!m_breathing) {
        m_breathing = makeRepeating(
            this, breathHalfSeconds,
            [this](double v) {
                m_infinitePulse = v;
                arcMoved();
            },
            breathLow, breathHigh);
    }
    // Already breathing towards the same target: restarting would make the arc jump.
    if (m_breathing->state() != QAbstractAnimation::Running)
        m_breathing->start();
}

void ActivityRing::stopBreathing()
{
    if (m_breathing && m_breathing->state() != QAbstractAnimation::Stopped) {
        m_breathing->stop();
        m_infinitePulse = breathLow;
        arcMoved();
    }
}

void ActivityRing::startUrgencyPulse()
{
    if (!m_urgency) {
        m_urgency = makeRepeating(
            this, urgencyHalfSeconds,
            [this](double v) {
                m_urgentOpacity = v;
                opacityMoved();
            },
            1.0, urgentLow);
    }
    // Each tick of the last minute asks for the same pulse: keep the one that runs.
    if (m_urgency->state() != QAbstractAnimation::Running)
        m_urgency->start();
}

void ActivityRing::stopUrgencyPulse()
{
    if (m_urgency && m_urgency->state() != QAbstractAnimation::Stopped)
        m_urgency->stop();
    if (m_urgentOpacity != 1.0) {
        m_urgentOpacity = 1.0;
        update();
    }
}

void ActivityRing::moveProgressTo(double target, bool bouncy)
{
    if (!m_progressMove) {
        m_progressMove = new QVariantAnimation(this);
        connect(m_progressMove, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            m_animatedProgress = v.toDouble();
            arcMoved();
        });
    }
    m_progressMove->stop();
    if (m_animatedProgress == target)
        return;
    // A session's second moves the arc by a fraction of a pixel: set it, instead of animating
    // ten frames nobody can see.
    if (!bouncy && std::abs(target - m_animatedProgress) * M_PI * m_size < 1.0) {
        setAnimatedProgress(target);
        return;
    }
    const kestu::KestuAnimation& token = bouncy ? kestu::Animation::springBouncy() : kestu::Animation::fadeQuick();
    token.apply(m_progressMove);
    m_progressMove->setStartValue(m_animatedProgress);
    m_progressMove->setEndValue(target);
    if (m_progressMove->duration() == 0 || !isVisible()) {
        setAnimatedProgress(target);
        return;
    }
    m_progressMove->start();
}

void ActivityRing::setAnimatedProgress(double value)
{
    if (m_progressMove)
        m_progressMove->stop();
    if (m_animatedProgress != value) {
        m_animatedProgress = value;
        arcMoved();
    }
}

void ActivityRing::runCompletionBounce()
{
    if (!isVisible())
        return;
    if (!m_bounce) {
        m_bounce = new QVariantAnimation(this);
        const kestu::KestuSpring spring(0.4, 0.6);
        const double delay = bounceDelaySeconds;
        const double settle = spring.settlingDuration();
        m_bounce->setStartValue(0.0);
        m_bounce->setEndValue(delay + settle);
        m_bounce->setDuration(int((delay + settle) * 1000));
        // Up towards 1.1, and from 0.2 s on back towards 1.0 from wherever it got to.
        connect(m_bounce, &QVariantAnimation::valueChanged, this, [this, spring, delay](const QVariant& v) {
            const double t = v.toDouble();
            const double atDelay = 1.0 + (bounceTop - 1.0) * spring.value(delay);
            m_completionScale = t < delay ? 1.0 + (bounceTop - 1.0) * spring.value(t)
                                          : atDelay + (1.0 - atDelay) * spring.value(t - delay);
            update();
        });
        connect(m_bounce, &QVariantAnimation::finished, this, [this] {
            m_completionScale = 1.0;
            update();
        });
    }
    m_bounce->stop();
    m_bounce->start();
}

void ActivityRing::stopAll()
{
    for (QVariantAnimation* animation : { m_progressMove, m_breathing, m_urgency, m_bounce })
        if (animation)
            animation->stop();
    m_completionScale = 1.0;
    m_urgentOpacity = 1.0;
    m_infinitePulse = breathLow;
}

void ActivityRing::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    onAppear();
}

void ActivityRing::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    stopAll();
}

double ActivityRing::drawnFraction() const
{
    return m_inputs.isActive || m_inputs.isPaused ? clampedFraction(effectiveProgress()) : 0.0;
}

double ActivityRing::drawnScale() const
{
    return std::isfinite(m_completionScale) ? std::clamp(m_completionScale, 0.5, 1.5) : 1.0;
}

void ActivityRing::arcMoved()
{
    const double now = drawnFraction();
    const double before = m_requestedFraction;
    if (now == before)
        return;
    // Less than half a pixel along the ring shows no change: wait until the end has moved.
    const double pixels = std::abs(now - before) * M_PI * m_size * devicePixelRatioF();
    if (now > 0 && before > 0 && pixels < 0.5)
        return;
    m_requestedFraction = now;
    if (now <= 0 || before <= 0 || drawnScale() != 1.0)
        update(); // the arc's start cap comes or goes, or the ring is scaled
    else
        update(arcEndRect(before, now));
}

void ActivityRing::opacityMoved()
{
    const int alpha = int(std::lround(drawnOpacity() * 255));
    if (alpha == m_requestedAlpha)
        return;
    m_requestedAlpha = alpha;
    update();
}

QRect ActivityRing::arcEndRect(double from, double to) const
{
    if (drawnScale() != 1.0)
        return rect();
    const QPointF centre = QRectF(rect()).center();
    const double radius = m_size / 2;
    const double a0 = clampedFraction(std::min(from, to)) * 2 * M_PI;
    const double a1 = clampedFraction(std::max(from, to)) * 2 * M_PI;
    // Clockwise from twelve o'clock; sampled finely enough that the chord stays inside the pad.
    const int steps = std::max(1, int(std::ceil((a1 - a0) / (M_PI / 36))));
    QRectF bounds;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        const QPointF point = centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
        bounds = bounds.isNull() ? QRectF(point, QSizeF(0, 0)) : bounds.united(QRectF(point, QSizeF(0, 0)));
    }
    // The round cap and the antialiased edge.
    const double pad = m_lineWidth / 2 + 2;
    return bounds.adjusted(-pad, -pad, pad, pad).toAlignedRect().intersected(rect());
}

void ActivityRing::contentChanged()
{
    m_backdrop = QPixmap();
    m_pulsed = QPixmap();
    update();
}

void ActivityRing::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::FontChange)
        contentChanged();
}

void ActivityRing::drawBackdrop(QPainter& p, const QRectF& ring) const
{
    QPen track(kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.15), m_lineWidth);
    track.setCapStyle(Qt::FlatCap);
    p.setPen(track);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);
    if (m_content)
        m_content(p, ring);
}

// The track and the centre change only with the second or the palette, so a frame of a motion
// only draws this image and the arc.
const QPixmap& ActivityRing::backdrop()
{
    const qreal dpr = devicePixelRatioF();
    if (m_backdrop.isNull() || m_backdrop.devicePixelRatio() != dpr) {
        m_backdrop = QPixmap(size() * dpr);
        m_backdrop.setDevicePixelRatio(dpr);
        m_backdrop.fill(Qt::transparent);
        QPainter p(&m_backdrop);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        drawBackdrop(p, QRectF(centre.x() - m_size / 2, centre.y() - m_size / 2, m_size, m_size));
    }
    return m_backdrop;
}

void ActivityRing::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const double scale = drawnScale();
    const double fraction = drawnFraction();
    if (event->rect().contains(rect())) {
        m_requestedFraction = fraction;
        m_requestedAlpha = int(std::lround(drawnOpacity() * 255));
    }
    const QRectF ring(centre.x() - m_size / 2, centre.y() - m_size / 2, m_size, m_size);
    if (drawnOpacity() < 1.0 && scale == 1.0) {
        // The last minute's pulse changes only the opacity of a ring that holds still between
        // seconds: draw it once and blend the image.
        if (m_pulsed.isNull() || m_pulsedFraction != fraction || m_pulsed.devicePixelRatio() != devicePixelRatioF()) {
            m_pulsed = QPixmap(size() * devicePixelRatioF());
            m_pulsed.setDevicePixelRatio(devicePixelRatioF());
            m_pulsed.fill(Qt::transparent);
            QPainter image(&m_pulsed);
            image.setRenderHint(QPainter::Antialiasing);
            image.drawPixmap(0, 0, backdrop());
            drawArc(image, ring, fraction);
            m_pulsedFraction = fraction;
        }
        p.setOpacity(drawnOpacity());
        p.drawPixmap(0, 0, m_pulsed);
        return;
    }
    p.setOpacity(drawnOpacity());
    if (scale == 1.0) {
        p.drawPixmap(0, 0, backdrop());
    } else {
        p.translate(centre);
        p.scale(scale, scale);
        p.translate(-centre);
        drawBackdrop(p, ring);
    }

    drawArc(p, ring, fraction);
}

void ActivityRing::drawArc(QPainter& p, const QRectF& ring, double fraction) const
{
    const QPointF centre = ring.center();
    if (fraction > 0) {
        p.save();
        // Drawn from three o'clock and turned a quarter back, so it starts at the top and the
        // gradient turns with it.
        p.translate(centre);
        p.rotate(-90);
        p.translate(-centre);
        const QBrush style
            = m_inputs.isPaused ? QBrush(kestu::Color::warning().resolve(this)) : QBrush(Color::accentGradient(ring));
        QPen arcPen(style, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
        p.setPen(arcPen);
        QPainterPath arc;
        arc.arcMoveTo(ring, 0);
        arc.arcTo(ring, 0, -fraction * 360.0);
        p.drawPath(arc);
        p.restore();
    }
}

} // namespace tremlor
