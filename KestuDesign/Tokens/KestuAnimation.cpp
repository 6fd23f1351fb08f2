#include "KestuDesign/Tokens/KestuAnimation.h"

#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QVariantAnimation>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace kestu {

KestuSpring::KestuSpring(double response, double dampingFraction)
    : m_response(response > 0 && std::isfinite(response) ? response : 0.3)
    , m_damping(dampingFraction > 0 && std::isfinite(dampingFraction) ? dampingFraction : 1.0)
{
}

double KestuSpring::value(double seconds) const
{
    if (seconds <= 0)
        return 0;
    const double w0 = 2 * std::numbers::pi / m_response;
    const double zeta = m_damping;
    if (zeta < 1) {
        const double wd = w0 * std::sqrt(1 - zeta * zeta);
        const double decay = std::exp(-zeta * w0 * seconds);
        return 1 - decay * (std::cos(wd * seconds) + zeta * w0 / wd * std::sin(wd * seconds));
    }
    if (zeta == 1)
        return 1 - std::exp(-w0 * seconds) * (1 + w0 * seconds);
    // Over-damped: the slower of the two real roots dominates.
    const double root = w0 * std::sqrt(zeta * zeta - 1);
    const double r1 = -zeta * w0 + root;
    const double r2 = -zeta * w0 - root;
    const double c2 = r1 / (r2 - r1);
    const double c1 = -1 - c2;
    return 1 + c1 * std::exp(r1 * seconds) + c2 * std::exp(r2 * seconds);
}

double KestuSpring::settlingDuration() const
{
    const double w0 = 2 * std::numbers::pi / m_response;
    const double rate = m_damping <= 1 ? m_damping * w0 : w0 * (m_damping - std::sqrt(m_damping * m_damping - 1));
    return std::log(1000.0) / rate;
}

namespace {
// QEasingCurve's custom type takes a plain function pointer, which cannot carry parameters,
// and Qt 6.4's Bézier-spline curves corrupt memory when copied. So each distinct spring gets a
// slot: a function instantiated for that slot reads the slot's parameters.
constexpr int springSlotCount = 16;
struct SpringSlot {
    double response = 0;
    double damping = 0;
    double duration = 0;
};
std::array<SpringSlot, springSlotCount> springSlots;
int springSlotsUsed = 0;

template <int Slot> qreal springEasing(qreal progress)
{
    const SpringSlot& slot = springSlots[Slot];
    if (progress >= 1)
        return 1;
    return KestuSpring(slot.response, slot.damping).value(progress * slot.duration);
}

template <int... Slots>
constexpr std::array<QEasingCurve::EasingFunction, sizeof...(Slots)> springFunctions(
    std::integer_sequence<int, Slots...>)
{
    return { &springEasing<Slots>... };
}
constexpr auto springSlotFunctions = springFunctions(std::make_integer_sequence<int, springSlotCount>());

// Cubic Bézier timing curve through (0, 0), (x1, y1), (x2, y2), (1, 1), solved for x.
double cubicBezier(double x1, double y1, double x2, double y2, double x)
{
    const auto coordinate = [](double a, double b, double t) {
        const double u = 1 - t;
        return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
    };
    double lo = 0;
    double hi = 1;
    double t = x;
    for (int i = 0; i < 40; ++i) {
        const double cx = coordinate(x1, x2, t);
        if (std::abs(cx - x) < 1e-7)
            break;
        (cx < x ? lo : hi) = t;
        t = (lo + hi) / 2;
    }
    return coordinate(y1, y2, t);
}

qreal easeOutCurve(qreal p)
{
    return p >= 1 ? 1 : p <= 0 ? 0 : cubicBezier(0, 0, 0.58, 1, p);
}

qreal easeInOutCurve(qreal p)
{
    return p >= 1 ? 1 : p <= 0 ? 0 : cubicBezier(0.42, 0, 0.58, 1, p);
}

QEasingCurve customCurve(QEasingCurve::EasingFunction function)
{
    QEasingCurve curve;
    curve.setCustomType(function);
    return curve;
}
} // namespace

QEasingCurve KestuSpring::easingCurve() const
{
    int slot = 0;
    while (slot < springSlotsUsed
        && !(springSlots[std::size_t(slot)].response == m_response
            && springSlots[std::size_t(slot)].damping == m_damping))
        ++slot;
    if (slot == springSlotsUsed) {
        if (springSlotsUsed == springSlotCount)
            slot = springSlotCount - 1; // more distinct springs than slots: the last is reused
        else
            ++springSlotsUsed;
        springSlots[std::size_t(slot)] = SpringSlot { m_response, m_damping, settlingDuration() };
    }
    return customCurve(springSlotFunctions[std::size_t(slot)]);
}

KestuAnimation::KestuAnimation(QEasingCurve curve, int durationMs)
    : m_curve(std::move(curve))
    , m_durationMs(durationMs)
{
}

KestuAnimation KestuAnimation::spring(double response, double dampingFraction)
{
    const KestuSpring spring(response, dampingFraction);
    return KestuAnimation(spring.easingCurve(), int(std::ceil(spring.settlingDuration() * 1000)));
}

KestuAnimation KestuAnimation::easeOut(double seconds)
{
    return KestuAnimation(customCurve(&easeOutCurve), int(std::lround(seconds * 1000)));
}

KestuAnimation KestuAnimation::easeInOut(double seconds)
{
    return KestuAnimation(customCurve(&easeInOutCurve), int(std::lround(seconds * 1000)));
}

double KestuAnimation::valueAt(double elapsedMs) const
{
    if (m_durationMs <= 0 || elapsedMs >= m_durationMs)
        return 1.0;
    return m_curve.valueForProgress(std::max(0.0, elapsedMs) / m_durationMs);
}

void KestuAnimation::apply(QVariantAnimation* animation) const
{
    animation->setEasingCurve(m_curve);
    animation->setDuration(prefersReducedMotion() ? 0 : m_durationMs);
}

namespace Animation {
const KestuAnimation& springSnappy()
{
    static const KestuAnimation a = KestuAnimation::spring(0.3, 0.75);
    return a;
}
const KestuAnimation& springGentle()
{
    static const KestuAnimation a = KestuAnimation::spring(0.5, 0.8);
    return a;
}
const KestuAnimation& springBouncy()
{
    static const KestuAnimation a = KestuAnimation::spring(0.4, 0.6);
    return a;
}
const KestuAnimation& fadeQuick()
{
    static const KestuAnimation a = KestuAnimation::easeOut(0.15);
    return a;
}
const KestuAnimation& fadeSmooth()
{
    static const KestuAnimation a = KestuAnimation::easeInOut(0.3);
    return a;
}
} // namespace Animation

} // namespace kestu
