#pragma once

#include "Engine/ScheduleManaging.h"
#include "Platform/Clock.h"

#include <chrono>
#include <memory>

namespace tremlor::dispatch {
class SerialQueue;
class TimerSource;
} // namespace tremlor::dispatch

namespace tremlor {

// Compares the schedule entries with the wall clock (the clock's time zone is the calendar) and
// reports edges: a window opened (first matching entry in list order) or the last one closed.
// Every evaluation runs on the main thread: start and updates evaluate at once, and the 60-second
// tick on a utility queue only posts an evaluation there, so callbacks keep evaluation order.
class ScheduleManager final : public ScheduleManaging {
public:
    explicit ScheduleManager(
        const Clock& clock = SystemClock::instance(), std::chrono::milliseconds tickInterval = std::chrono::minutes(1));
    ~ScheduleManager() override;

    void start(const std::vector<ScheduleEntry>& entries, ActivateCallback onShouldActivate,
        DeactivateCallback onShouldDeactivate) override;
    void stop() override;
    void updateEntries(const std::vector<ScheduleEntry>& entries) override;

    // One evaluation on the calling thread, as a tick runs it.
    void evaluate();
    // Whether the last evaluation found a matching entry.
    bool isInsideWindow() const;

    // The window test of one entry on a weekday (1 Sunday … 7 Saturday) at a minute of the day
    // (0 … 1439). Hours or minutes out of range never hold.
    static bool holds(const ScheduleEntry& entry, int weekday, int minuteOfDay);

private:
    struct State;

    const Clock& m_clock;
    const std::chrono::milliseconds m_tickInterval;
    std::shared_ptr<State> m_state;
    std::unique_ptr<dispatch::SerialQueue> m_queue;
    std::shared_ptr<dispatch::TimerSource> m_timer;
};

} // namespace tremlor
