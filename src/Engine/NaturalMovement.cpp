// The natural movement pattern of MouseMover: curved moves, scroll bursts, navigation keys.
#include "Engine/MouseMover.h"
#include "Platform/MouseMoving.h"
#include "Platform/Random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tremlor {

namespace {

constexpr double inset = 40.0;
constexpr double smallestDisplay = 2.0 * inset;

// Clamps into [low, high] of a rect's full extent; the last pixel column/row is maxX - 1.
QPointF clampInto(QPointF p, const QRectF& bounds)
{
    const double maxX = std::max(bounds.left(), bounds.right() - 1.0);
    const double maxY = std::max(bounds.top(), bounds.bottom() - 1.0);
    const double x = std::isnan(p.x()) ? bounds.center().x() : std::clamp(p.x(), bounds.left(), maxX);
    const double y = std::isnan(p.y()) ? bounds.center().y() : std::clamp(p.y(), bounds.top(), maxY);
    return { x, y };
}

QPointF bezier(QPointF c, QPointF p1, QPointF p2, QPointF e, double u)
{
    const double v = 1.0 - u;
    return c * (v * v * v) + p1 * (3.0 * u * v * v) + p2 * (3.0 * u * u * v) + e * (u * u * u);
}

} // namespace

MouseMover::NaturalAction MouseMover::naturalActionFor(int r)
{
    if (r < 30)
        return NaturalAction::curveThenScroll;
    if (r < 45)
        return NaturalAction::scrollOnly;
    if (r < 65)
        return NaturalAction::curveOnly;
    if (r < 80)
        return NaturalAction::keysOnly;
    return NaturalAction::curveThenKeys;
}

double MouseMover::naturalEase(double t)
{
    if (t < 0.15)
        return 0.15 * std::pow(t / 0.15, 3.0);
    if (t > 0.85)
        return 0.85 + 0.15 * (1.0 - std::pow(1.0 - (t - 0.85) / 0.15, 3.0));
    return t;
}

MouseMover::NaturalAction MouseMover::naturalPickAction()
{
    return naturalActionFor(static_cast<int>(m_random->uniformInt(0, 99)));
}

void MouseMover::performNatural(std::uint64_t generation)
{
    ++m_naturalTickCount;
    const NaturalAction action = naturalPickAction();
    const bool curve = action != NaturalAction::scrollOnly && action != NaturalAction::keysOnly;
    if (curve) {
        naturalMoveCurve(generation);
        if (!isRunning(generation))
            return;
        sleepMicros(200'000, 800'000);
    }
    if (!isRunning(generation))
        return;
    if (action == NaturalAction::curveThenScroll || action == NaturalAction::scrollOnly)
        naturalSmoothScroll(generation);
    else if (action == NaturalAction::keysOnly || action == NaturalAction::curveThenKeys)
        naturalNavigationKeys(generation);

    if (!isRunning(generation))
        return;
    if (m_settings.keyboardEnabled && m_naturalTickCount % 2 == 0) {
        sleepMicros(50'000, 200'000);
        const auto count = static_cast<std::int64_t>(inertKeyCodes.size() + navigationKeyCodes.size());
        const auto index = static_cast<std::size_t>(m_random->uniformInt(0, count - 1));
        const quint16 code
            = index < inertKeyCodes.size() ? inertKeyCodes[index] : navigationKeyCodes[index - inertKeyCodes.size()];
        if (isRunning(generation))
            m_mover->pressKey(code);
    }
    if (!isRunning(generation))
        return;
    if (m_settings.clicksEnabled && m_naturalTickCount % 4 == 0) {
        sleepMicros(80'000, 250'000);
        if (isRunning(generation))
            m_mover->click(m_mover->cursorLocation());
    }
}

QRectF MouseMover::naturalBounds(QPointF point)
{
    QRectF bounds = m_mover->displayBounds(point);
    // No usable monitor, or one too small for the inset: the whole screen stands in.
    if (!bounds.isValid() || bounds.width() < smallestDisplay || bounds.height() < smallestDisplay)
        bounds = m_mover->screenBounds();
    return bounds;
}

void MouseMover::naturalMoveCurve(std::uint64_t generation)
{
    const QRectF bounds = naturalBounds(m_mover->cursorLocation());
    if (!bounds.isValid())
        return;
    const QPointF s = m_mover->cursorLocation();
    const double w = bounds.width();
    const double h = bounds.height();
    const double minX = bounds.left() + inset;
    const double maxX = bounds.right() - inset;
    const double minY = bounds.top() + inset;
    const double maxY = bounds.bottom() - inset;

    QPointF target = bounds.center();
    if (minX <= maxX && minY <= maxY) {
        bool accepted = false;
        for (int attempt = 0; attempt < 20 && !accepted; ++attempt) {
            const double tx = m_random->uniformReal(minX, maxX);
            const double ty = m_random->uniformReal(minY, maxY);
            const double r = std::max(std::abs(tx - s.x()) / w, std::abs(ty - s.y()) / h);
            if (r >= 0.4 && r <= 0.7) {
                target = { tx, ty };
                accepted = true;
            }
        }
        if (!accepted) {
            const double a = m_random->uniformReal(0.0, 2.0 * std::numbers::pi);
            const double f = m_random->uniformReal(0.4, 0.7);
            double tx = s.x() + f * w * std::cos(a);
            double ty = s.y() + f * h * std::sin(a);
            tx = std::isnan(tx) ? bounds.center().x() : std::min(std::max(tx, minX), maxX);
            ty = std::isnan(ty) ? bounds.center().y() : std::min(std::max(ty, minY), maxY);
            target = { tx, ty };
        }
    }

    const int n = static_cast<int>(m_random->uniformInt(2, 4));
    QPointF c = s;
    for (int i = 0; i < n; ++i) {
        const QPointF e = c + (target - c) * ((static_cast<double>(i) + 1.0) / n) / (n - i);
        const double b = m_random->uniformReal(0.15, 0.45);
        const double length = std::hypot(e.x() - c.x(), e.y() - c.y());
        const bool side = m_random->uniformInt(0, 1) == 1;
        const double phi
            = std::atan2(e.y() - c.y(), e.x() - c.x()) + (side ? std::numbers::pi / 2.0 : -std::numbers::pi / 2.0);
        const double f1x = m_random->uniformReal(0.4, 0.7);
        const double f1y = m_random->uniformReal(0.4, 0.7);
        const double f2x = m_random->uniformReal(0.3, 0.6);
        const double g2x = m_random->uniformReal(0.3, 0.8);
        const double f2y = m_random->uniformReal(0.3, 0.6);
        const double g2y = m_random->uniformReal(0.3, 0.8);
        const double q = m_random->uniformReal(3.0, 6.0);

        const double bend = length * b;
        const QPointF m = (c + e) / 2.0;
        const QPointF p1(
            c.x() + (m.x() - c.x()) * f1x + bend * std::cos(phi), c.y() + (m.y() - c.y()) * f1y + bend * std::sin(phi));
        const QPointF p2(m.x() + (e.x() - m.x()) * f2x + bend * std::cos(phi) * g2x,
            m.y() + (e.y() - m.y()) * f2y + bend * std::sin(phi) * g2y);
        const double stepsWanted = length / q;
        const int k = stepsWanted < 15.0 ? 15 : static_cast<int>(std::min(stepsWanted, 100000.0));

        for (int j = 1; j <= k; ++j) {
            if (!isRunning(generation))
                return;
            const double t = static_cast<double>(j) / k;
            const double u = naturalEase(t);
            const double amplitude = m_random->uniformReal(0.5, 2.0);
            const double jx = m_random->uniformReal(-amplitude, amplitude);
            const double jy = m_random->uniformReal(-amplitude, amplitude);
            m_mover->moveCursor(clampInto(bezier(c, p1, p2, e, u) + QPointF(jx, jy), bounds));
            if (t < 0.1 || t > 0.9)
                sleepMicros(6'000, 16'000);
            else
                sleepMicros(2'000, 6'000);
            if (m_random->uniformInt(0, 80) == 0)
                sleepMicros(30'000, 120'000);
        }
        if (i != n - 1)
            sleepMicros(20'000, 80'000);
        c = e;
    }

    if (!twoCoinFlips() || !isRunning(generation))
        return;
    const QPointF z = c;
    const double delta = m_random->uniformReal(8.0, 25.0);
    const double a = m_random->uniformReal(0.0, 2.0 * std::numbers::pi);
    const QRectF fidgetBounds = naturalBounds(m_mover->cursorLocation());
    if (!fidgetBounds.isValid())
        return;
    const QPointF f = clampInto(QPointF(z.x() + delta * std::cos(a), z.y() + delta * std::sin(a)), fidgetBounds);
    m_mover->moveCursor(f);
    sleepMicros(30'000, 80'000);
    const int steps = static_cast<int>(m_random->uniformInt(3, 6));
    for (int j = 1; j <= steps; ++j) {
        if (!isRunning(generation))
            return;
        m_mover->moveCursor(f + (z - f) * (static_cast<double>(j) / steps));
        sleepMicros(8'000, 20'000);
    }
}

void MouseMover::naturalSmoothScroll(std::uint64_t generation)
{
    const bool positive = m_random->uniformInt(0, 1) == 1;
    const int n = static_cast<int>(m_random->uniformInt(3, 12));
    for (int i = 0; i < n; ++i) {
        const double p = static_cast<double>(i) / n;
        int amount = 0;
        if (p < 0.3)
            amount = static_cast<int>(m_random->uniformInt(1, 3));
        else if (p > 0.7)
            amount = static_cast<int>(m_random->uniformInt(1, 2));
        else
            amount = static_cast<int>(m_random->uniformInt(2, 6));
        if (!positive)
            amount = -amount;
        const int horizontal = m_random->uniformInt(0, 8) == 0 ? static_cast<int>(m_random->uniformInt(-1, 1)) : 0;
        if (!isRunning(generation))
            return;
        m_mover->scroll(amount, horizontal);
        stamp();
        sleepMicros(20'000, 60'000);
    }
    if (!twoCoinFlips())
        return;
    sleepMicros(100'000, 300'000);
    const int back = static_cast<int>(m_random->uniformInt(1, 3));
    for (int i = 0; i < back; ++i) {
        const int magnitude = static_cast<int>(m_random->uniformInt(1, 2));
        if (!isRunning(generation))
            return;
        m_mover->scroll(positive ? -magnitude : magnitude, 0);
        stamp();
        sleepMicros(30'000, 60'000);
    }
}

void MouseMover::naturalNavigationKeys(std::uint64_t generation)
{
    if (!m_settings.keyboardEnabled)
        return;
    const int presses = static_cast<int>(m_random->uniformInt(1, 4));
    for (int i = 0; i < presses; ++i) {
        const auto index = static_cast<std::size_t>(m_random->uniformInt(0, navigationKeyCodes.size() - 1));
        if (!isRunning(generation))
            return;
        const quint16 code = navigationKeyCodes[index];
        m_mover->postKey(code, true);
        sleepMicros(20'000, 60'000);
        // A key that went down always comes up, stop or not.
        m_mover->postKey(code, false);
        stamp();
        sleepMicros(150'000, 500'000);
    }
}

} // namespace tremlor
