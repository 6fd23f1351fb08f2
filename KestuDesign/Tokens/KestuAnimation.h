#pragma once

#include <QEasingCurve>

class QVariantAnimation;

namespace kestu {

// A damped spring that moves from 0 to 1: `response` is the period of the undamped
// oscillation in seconds, `dampingFraction` the ratio to critical damping (below 1 it
// overshoots and rings).
class KestuSpring final {
public:
    KestuSpring(double response, double dampingFraction);

    // Position at `seconds` after the start; 0 at the start, approaching 1.
    double value(double seconds) const;
    // Time after which the spring stays within 0.1 % of its target.
    double settlingDuration() const;
    // The motion over the settling duration as an easing curve (progress 0..1 to value).
    QEasingCurve easingCurve() const;

    double response() const { return m_response; }
    double dampingFraction() const { return m_damping; }

private:
    double m_response;
    double m_damping;
};

// An animation token: an easing curve with its duration, for QVariantAnimation or
// QPropertyAnimation.
class KestuAnimation final {
public:
    static KestuAnimation spring(double response, double dampingFraction);
    static KestuAnimation easeOut(double seconds);
    static KestuAnimation easeInOut(double seconds);

    const QEasingCurve& easingCurve() const { return m_curve; }
    int durationMs() const { return m_durationMs; }
    // The value of the curve at `elapsedMs` after the start (1 at and after the end).
    double valueAt(double elapsedMs) const;
    // Sets the curve and duration on the animation; when the desktop asks for reduced motion
    // the duration is 0, so the animation jumps to its end value.
    void apply(QVariantAnimation* animation) const;

private:
    KestuAnimation(QEasingCurve curve, int durationMs);

    QEasingCurve m_curve;
    int m_durationMs;
};

// The kit's animation tokens, built once on first read.
namespace Animation {
const KestuAnimation& springSnappy();
const KestuAnimation& springGentle();
const KestuAnimation& springBouncy();
const KestuAnimation& fadeQuick();
const KestuAnimation& fadeSmooth();
} // namespace Animation

} // namespace kestu
