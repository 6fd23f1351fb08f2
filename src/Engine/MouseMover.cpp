#include "Engine/MouseMover.h"

#include "Engine/QueueTimers.h"
#include "Platform/Clock.h"
#include "Platform/Dispatch.h"
#include "Platform/MouseMoving.h"
#include "Platform/Random.h"

#include <algorithm>
#include <cmath>

namespace tremlor {

namespace {

template <typename T> std::shared_ptr<T> unowned(T& value)
{
    return std::shared_ptr<T>(&value, [](T*) {});
}

// A finite number in [low, high]; NaN reads as fallback.
double sanitized(double value, double low, double high, double fallback)
{
    if (std::isnan(value))
        return fallback;
    return std::clamp(value, low, high);
}

} // namespace

MouseMover::MouseMover(std::shared_ptr<MouseMoving> mover)
    : MouseMover(std::move(mover), Seams {})
{
}

MouseMover::MouseMover(std::shared_ptr<MouseMoving> mover, Seams seams)
    : m_mover(std::move(mover))
    , m_random(seams.random ? std::move(seams.random) : unowned(SystemRandom::instance()))
    , m_clock(seams.clock ? std::move(seams.clock) : unowned(SystemClock::instance()))
    , m_sleep(seams.sleep ? std::move(seams.sleep) : Sleeper(&dispatch::sleepFor))
    , m_timers(seams.timers ? std::move(seams.timers) : QueueTimers::system())
    , m_queue(std::make_unique<dispatch::SerialQueue>(QStringLiteral("com.tremlor.mousemover")))
{
}

MouseMover::~MouseMover()
{
    stop();
    // The queue stays in place while it finishes: a start or a tick under way still arms its
    // next timer on it (refused now), and nothing runs on it once this returns.
    m_queue->shutdown();
    if (m_mover)
        m_mover->releaseAll();
}

void MouseMover::start(
    double maxInterval, double distance, MovementPattern pattern, bool keyboardEnabled, bool clicksEnabled)
{
    stop();
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(m_stopLock);
        m_stopped = false;
        generation = ++m_generation;
    }
    Settings settings;
    settings.maxInterval = sanitized(maxInterval, 1.0, maximumDelay, initialMaxInterval);
    settings.distance = sanitized(distance, 0.0, 1.0e6, initialDistance);
    settings.pattern = pattern;
    settings.keyboardEnabled = keyboardEnabled;
    settings.clicksEnabled = clicksEnabled;
    // The fields belong to the queue: a tick still running there must not see them change.
    m_queue->async([this, generation, settings] {
        if (!isRunning(generation))
            return;
        m_settings = settings;
        m_driftOffset = QPointF();
        m_circleAngle = 0.0;
        m_naturalTickCount = 0;
        if (m_mover)
            setLastSyntheticPosition(m_mover->cursorLocation());
        scheduleNextTick(generation);
    });
}

void MouseMover::stop()
{
    std::function<void()> cancel;
    {
        std::lock_guard guard(m_stopLock);
        m_stopped = true;
        cancel = std::move(m_cancelTimer);
        m_cancelTimer = nullptr;
    }
    if (cancel)
        cancel();
}

bool MouseMover::isStopped() const
{
    std::lock_guard guard(m_stopLock);
    return m_stopped;
}

bool MouseMover::isRunning(std::uint64_t generation) const
{
    std::lock_guard guard(m_stopLock);
    return !m_stopped && m_generation == generation;
}

void MouseMover::setOnJiggle(std::function<void()> callback)
{
    std::lock_guard guard(m_jiggleLock);
    m_onJiggle = std::move(callback);
}

void MouseMover::waitUntilIdle()
{
    // An empty task runs after all queued before it.
    m_queue->sync([] {});
}

double MouseMover::drawDelay(RandomSource& random, MovementPattern pattern, double maxInterval)
{
    maxInterval = sanitized(maxInterval, 1.0, maximumDelay, initialMaxInterval);
    double delay = 0.0;
    if (pattern != MovementPattern::natural) {
        delay = random.uniformReal(1.0, maxInterval) * random.uniformReal(0.8, 1.4);
    } else if (random.uniformInt(0, 9) == 0) {
        const double upper = maxInterval >= 3.0 ? std::min(maxInterval, 8.0) : 3.0;
        delay = random.uniformReal(3.0, upper);
    } else {
        delay = random.uniformReal(1.0, std::min(maxInterval, 3.0)) * random.uniformReal(0.8, 1.2);
    }
    return sanitized(delay, 0.0, maximumDelay, maximumDelay);
}

void MouseMover::scheduleNextTick(std::uint64_t generation)
{
    if (!isRunning(generation))
        return;
    const double delay = drawDelay(*m_random, m_settings.pattern, m_settings.maxInterval);
    const auto nanos = std::chrono::nanoseconds(static_cast<std::int64_t>(std::llround(delay * 1e9)));
    auto cancel
        = m_timers->arm(*m_queue, nanos, std::chrono::nanoseconds::zero(), [this, generation] { tick(generation); });
    std::function<void()> previous;
    bool keep = false;
    {
        std::lock_guard guard(m_stopLock);
        if (!m_stopped && m_generation == generation) {
            previous = std::move(m_cancelTimer);
            m_cancelTimer = cancel;
            keep = true;
        }
    }
    if (previous)
        previous();
    // Stopped while arming: the new timer must not fire.
    if (!keep)
        cancel();
}

void MouseMover::tick(std::uint64_t generation)
{
    if (!isRunning(generation))
        return;
    performMovement(generation);
    std::function<void()> onJiggle;
    {
        std::lock_guard guard(m_jiggleLock);
        onJiggle = m_onJiggle;
    }
    if (onJiggle)
        onJiggle();
    scheduleNextTick(generation);
}

void MouseMover::performMovement(std::uint64_t generation)
{
    if (!isRunning(generation) || !m_mover)
        return;
    setSyntheticMoving(true);
    switch (m_settings.pattern) {
    case MovementPattern::bounce:
        performBounce(generation);
        break;
    case MovementPattern::drift:
        performDrift(generation);
        break;
    case MovementPattern::circle:
        performCircle(generation);
        break;
    case MovementPattern::natural:
        performNatural(generation);
        break;
    }
    if (m_settings.pattern != MovementPattern::natural)
        maybeSimulateExtras(generation);
    setLastSyntheticPosition(m_mover->cursorLocation());
    setSyntheticMoving(false);
}

void MouseMover::performBounce(std::uint64_t generation)
{
    const double d = m_settings.distance;
    const double dx = m_random->uniformReal(-d, d);
    const double dy = m_random->uniformReal(-d, d);
    interpolateMove(generation, dx, dy, static_cast<int>(m_random->uniformInt(3, 6)));
    sleepMicros(40'000, 120'000);
    interpolateMove(generation, -dx, -dy, static_cast<int>(m_random->uniformInt(3, 6)));
}

void MouseMover::performDrift(std::uint64_t generation)
{
    const double d = m_settings.distance;
    const double dx = m_random->uniformReal(-d, d);
    const double dy = m_random->uniformReal(-d, d);
    m_driftOffset += QPointF(dx, dy);
    interpolateMove(generation, dx, dy, static_cast<int>(m_random->uniformInt(3, 8)));
}

void MouseMover::performCircle(std::uint64_t generation)
{
    const double d = m_settings.distance;
    const double step = m_random->uniformReal(0.2, 0.5);
    m_circleAngle += step;
    interpolateMove(generation, step * d * std::cos(m_circleAngle), step * d * std::sin(m_circleAngle),
        static_cast<int>(m_random->uniformInt(2, 5)));
}

double MouseMover::smoothstep(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

void MouseMover::interpolateMove(std::uint64_t generation, double dx, double dy, int steps)
{
    steps = std::max(steps, 1);
    const QPointF start = m_mover->cursorLocation();
    for (int i = 1; i <= steps; ++i) {
        if (!isRunning(generation))
            return;
        const double e = smoothstep(static_cast<double>(i) / steps);
        moveCursorTo(QPointF(start.x() + dx * e, start.y() + dy * e));
        sleepMicros(3'000, 10'000);
    }
}

void MouseMover::maybeSimulateExtras(std::uint64_t generation)
{
    // A stop means the user is back: nothing more may land in their work.
    if (!isRunning(generation))
        return;
    if (m_settings.keyboardEnabled && twoCoinFlips()) {
        sleepMicros(50'000, 200'000);
        const auto index = static_cast<std::size_t>(m_random->uniformInt(0, inertKeyCodes.size() - 1));
        if (isRunning(generation))
            m_mover->pressKey(inertKeyCodes[index]);
    }
    if (!isRunning(generation))
        return;
    if (m_settings.clicksEnabled && m_random->uniformInt(0, 9) == 0) {
        sleepMicros(100'000, 300'000);
        if (isRunning(generation))
            m_mover->click(m_mover->cursorLocation());
    }
}

void MouseMover::moveCursorTo(QPointF point)
{
    // An absurd distance must not reach the poster as a coordinate it cannot convert.
    const QRectF screen = m_mover->screenBounds();
    if (screen.isValid()) {
        point.setX(sanitized(point.x(), screen.left(), screen.right(), screen.center().x()));
        point.setY(sanitized(point.y(), screen.top(), screen.bottom(), screen.center().y()));
    } else if (!std::isfinite(point.x()) || !std::isfinite(point.y())) {
        return;
    }
    m_mover->moveCursor(point);
}

void MouseMover::sleepMicros(std::int64_t low, std::int64_t high)
{
    const auto micros = std::chrono::microseconds(m_random->uniformInt(low, high));
    // After a stop nothing more is posted: no reason to hold up the quit or the next start.
    if (isStopped())
        return;
    m_sleep(micros);
}

bool MouseMover::twoCoinFlips()
{
    const bool first = m_random->uniformInt(0, 1) == 1;
    const bool second = m_random->uniformInt(0, 1) == 1;
    return first && second;
}

void MouseMover::stamp()
{
    setLastSyntheticNonMouseTime(m_clock->monotonicNow());
}

} // namespace tremlor
