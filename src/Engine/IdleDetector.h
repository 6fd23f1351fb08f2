#pragma once

#include "Models/SettingDefaults.h"
#include "Platform/InputIdleSource.h"
#include "Platform/SyntheticInput.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tremlor {

namespace dispatch {
class SerialQueue;
}
class Clock;
class QueueTimers;

// Tells the user's own input from the program's and reports idle/active changes.
class IdleMonitoring {
public:
    IdleMonitoring() = default;
    virtual ~IdleMonitoring() = default;
    IdleMonitoring(const IdleMonitoring&) = delete;
    IdleMonitoring& operator=(const IdleMonitoring&) = delete;

    // The current verdict.
    virtual bool isUserIdle() const = 0;
    // Called off the main thread once per change (true: became idle); it must not call back
    // into the monitor. None of a run comes after stopMonitoring has returned.
    virtual std::function<void(bool)> onIdleStateChanged() const = 0;
    virtual void setOnIdleStateChanged(std::function<void(bool)> callback) = 0;
    // Main thread. Starts (or restarts) with the verdict idle; checks once a second.
    virtual void startMonitoring(double idleThreshold) = 0;
    // Main thread. Stops checking; the verdict stays as it is.
    virtual void stopMonitoring() = 0;
};

class SystemIdleMonitor final : public IdleMonitoring {
public:
    // What tests replace; anything left empty is the system's.
    struct Seams {
        std::shared_ptr<const Clock> clock;
        std::shared_ptr<QueueTimers> timers;
    };

    // Reads the user's input from `source` (required: the composition root picks it).
    explicit SystemIdleMonitor(std::shared_ptr<InputIdleSource> source, Seams seams = {});
    ~SystemIdleMonitor() override;

    bool isUserIdle() const override;
    std::function<void(bool)> onIdleStateChanged() const override;
    void setOnIdleStateChanged(std::function<void(bool)> callback) override;
    void startMonitoring(double idleThreshold) override;
    void stopMonitoring() override;

    // Waits until a check under way has finished (tests, shutdown).
    void waitUntilIdle();

private:
    void checkIdleState(std::uint64_t generation);

    std::shared_ptr<InputIdleSource> m_source;
    std::shared_ptr<const Clock> m_clock;
    std::shared_ptr<QueueTimers> m_timers;

    // Guards the verdict, the threshold, the run's generation and the timer.
    mutable std::mutex m_lock;
    bool m_isUserIdle = false;
    double m_threshold = defaults::idleThreshold;
    std::uint64_t m_generation = 0;
    std::function<void()> m_cancelTimer;

    // Taken before m_lock, never after it.
    mutable std::mutex m_callbackLock;
    std::function<void(bool)> m_onIdleStateChanged;

    // Touched by the start (before the timer is armed) and then only by the checks.
    QPointF m_lastTrackedPosition;
    SyntheticTime m_lastRealMouseMoveTime = distantPast;
    std::int64_t m_checkCount = 0;

    // Last member: destroyed first, so no check outlives the fields above.
    std::unique_ptr<dispatch::SerialQueue> m_queue;
};

} // namespace tremlor
