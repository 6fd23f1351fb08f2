#pragma once

#include "Engine/MouseMoverProtocol.h"
#include "Models/Enumerations.h"
#include "Models/SettingDefaults.h"
#include "Platform/SyntheticInput.h"

#include <QPointF>
#include <QRectF>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tremlor {

namespace dispatch {
class SerialQueue;
}
class Clock;
class MouseMoving;
class QueueTimers;
class RandomSource;

// Simulates the user while a session runs: at random intervals, on a serial queue of its own,
// moves the cursor by the pattern, may press an inert key or click, and reports each movement
// through onJiggle. Keeps the process-wide record of the program's own synthetic events.
class MouseMover final : public MouseMoverProtocol {
public:
    using Sleeper = std::function<void(std::chrono::microseconds)>;

    // What tests replace; anything left empty is the system's.
    struct Seams {
        std::shared_ptr<RandomSource> random;
        std::shared_ptr<const Clock> clock;
        Sleeper sleep;
        std::shared_ptr<QueueTimers> timers;
    };

    enum class NaturalAction { curveThenScroll, scrollOnly, curveOnly, keysOnly, curveThenKeys };

    static constexpr std::array<quint16, 5> inertKeyCodes { 113, 56, 60, 106, 63 };
    static constexpr std::array<quint16, 8> navigationKeyCodes { 126, 125, 123, 124, 116, 121, 115, 119 };
    // What the mover runs with before its first start, and what an unusable number reads as:
    // the store's default interval, and a distance of its own, larger than the store's.
    static constexpr double initialMaxInterval = defaults::maxInterval;
    static constexpr double initialDistance = 10.0;
    // Upper bound of a drawn delay, whatever the settings say.
    static constexpr double maximumDelay = 24.0 * 60.0 * 60.0;

    explicit MouseMover(std::shared_ptr<MouseMoving> mover);
    MouseMover(std::shared_ptr<MouseMoving> mover, Seams seams);
    // Stops, waits for a tick under way and releases whatever the poster holds.
    ~MouseMover() override;

    // Main thread. Restarts with these settings; the first tick comes after a drawn delay.
    void start(double maxInterval, double distance, MovementPattern pattern, bool keyboardEnabled,
        bool clicksEnabled) override;
    // Any thread. A tick under way posts nothing more and ends with one onJiggle.
    void stop() override;
    bool isStopped() const override;

    // Called on the mover's queue after every tick whose movement ran.
    void setOnJiggle(std::function<void()> callback) override;

    // Waits until the mover's queue has finished what it is doing (tests, shutdown).
    void waitUntilIdle();

    // The synthetic-event record, shared with the idle monitor; each access takes one lock.
    static bool isSyntheticMoving() { return syntheticInput::isMoving(); }
    static QPointF lastSyntheticPosition() { return syntheticInput::lastPosition(); }
    static SyntheticTime lastSyntheticNonMouseTime() { return syntheticInput::lastNonMouseTime(); }
    // Written by the mover and its poster.
    static void setSyntheticMoving(bool moving) { syntheticInput::setMoving(moving); }
    static void setLastSyntheticPosition(QPointF position) { syntheticInput::setLastPosition(position); }
    static void setLastSyntheticNonMouseTime(SyntheticTime time) { syntheticInput::setLastNonMouseTime(time); }

    // Pure rules, public so they can be checked on their own.
    static double drawDelay(RandomSource& random, MovementPattern pattern, double maxInterval);
    static NaturalAction naturalActionFor(int r);
    static double naturalEase(double t);
    static double smoothstep(double t);

private:
    struct Settings {
        double maxInterval = initialMaxInterval;
        double distance = initialDistance;
        MovementPattern pattern = MovementPattern::bounce;
        bool keyboardEnabled = true;
        bool clicksEnabled = false;
    };

    bool isRunning(std::uint64_t generation) const;
    void scheduleNextTick(std::uint64_t generation);
    void tick(std::uint64_t generation);
    void performMovement(std::uint64_t generation);
    void performBounce(std::uint64_t generation);
    void performDrift(std::uint64_t generation);
    void performCircle(std::uint64_t generation);
    void interpolateMove(std::uint64_t generation, double dx, double dy, int steps);
    void maybeSimulateExtras(std::uint64_t generation);
    void moveCursorTo(QPointF point);
    void sleepMicros(std::int64_t low, std::int64_t high);
    bool twoCoinFlips();
    void stamp();

    // Natural pattern (NaturalMovement.cpp).
    void performNatural(std::uint64_t generation);
    NaturalAction naturalPickAction();
    void naturalMoveCurve(std::uint64_t generation);
    void naturalSmoothScroll(std::uint64_t generation);
    void naturalNavigationKeys(std::uint64_t generation);
    QRectF naturalBounds(QPointF point);

    std::shared_ptr<MouseMoving> m_mover;
    std::shared_ptr<RandomSource> m_random;
    std::shared_ptr<const Clock> m_clock;
    Sleeper m_sleep;
    std::shared_ptr<QueueTimers> m_timers;

    // Guards m_stopped, m_generation and m_cancelTimer; never held with another lock.
    mutable std::mutex m_stopLock;
    bool m_stopped = true;
    std::uint64_t m_generation = 0;
    std::function<void()> m_cancelTimer;

    std::mutex m_jiggleLock;
    std::function<void()> m_onJiggle;

    // Touched only on the mover's queue.
    Settings m_settings;
    QPointF m_driftOffset;
    double m_circleAngle = 0.0;
    std::int64_t m_naturalTickCount = 0;

    // Last member: shut down by the destructor before anything else goes, so no tick
    // outlives the fields above.
    std::unique_ptr<dispatch::SerialQueue> m_queue;

    friend class MouseMoverProbe;
};

} // namespace tremlor
