#include "Engine/ScheduleManager.h"

#include "Models/ScheduleEntry.h"
#include "Platform/Dispatch.h"

#include <mutex>
#include <optional>
#include <utility>

namespace tremlor {

// Shared with the timer's posted evaluations, which hold it weakly.
struct ScheduleManager::State {
    explicit State(const Clock& c)
        : clock(c)
    {
    }

    const Clock& clock;
    // Guards the fields below: a replacement of the list and an evaluation never interleave.
    std::mutex lock;
    std::vector<ScheduleEntry> entries;
    ActivateCallback onShouldActivate;
    DeactivateCallback onShouldDeactivate;
    bool isInsideWindow = false;

    void evaluate()
    {
        const QDateTime now = clock.now();
        if (!now.isValid())
            return; // an invalid date would read as weekday 1 and minute 0
        // The clock's own time zone is the calendar; QDate counts Monday 1 … Sunday 7.
        const int weekday = now.date().dayOfWeek() % 7 + 1;
        const int minuteOfDay = now.time().hour() * 60 + now.time().minute();

        std::optional<ScheduleEntry> found;
        ActivateCallback activate;
        DeactivateCallback deactivate;
        {
            std::lock_guard guard(lock);
            for (const ScheduleEntry& entry : entries) {
                if (ScheduleManager::holds(entry, weekday, minuteOfDay)) {
                    found = entry;
                    break;
                }
            }
            // The flag and the choice of callback change as one step; the callback itself runs
            // unlocked so that it may call back into the manager.
            if (found && !isInsideWindow) {
                isInsideWindow = true;
                activate = onShouldActivate;
            } else if (!found && isInsideWindow) {
                isInsideWindow = false;
                deactivate = onShouldDeactivate;
            }
        }
        if (activate)
            activate(*found);
        else if (deactivate)
            deactivate();
    }
};

ScheduleManager::ScheduleManager(const Clock& clock, std::chrono::milliseconds tickInterval)
    : m_clock(clock)
    , m_tickInterval(tickInterval)
    , m_state(new State(clock)) // not make_shared: pending weak references must not keep the entries alive
    , m_queue(std::make_unique<dispatch::SerialQueue>(QStringLiteral("com.tremlor.app.schedule")))
{
}

ScheduleManager::~ScheduleManager()
{
    if (m_timer)
        m_timer->cancel();
}

void ScheduleManager::start(
    const std::vector<ScheduleEntry>& entries, ActivateCallback onShouldActivate, DeactivateCallback onShouldDeactivate)
{
    stop();
    {
        std::lock_guard guard(m_state->lock);
        m_state->entries = entries;
        m_state->onShouldActivate = std::move(onShouldActivate);
        m_state->onShouldDeactivate = std::move(onShouldDeactivate);
    }
    m_state->evaluate();

    // The tick only posts: every evaluation runs on the main thread, so the owner hears of the
    // edges in the order in which they were found.
    m_timer = m_queue->makeTimer();
    const std::weak_ptr<State> weak = m_state;
    m_timer->scheduleRepeating(
        m_tickInterval, m_tickInterval, [weak] { dispatch::toMain(weak, [](State& state) { state.evaluate(); }); });
}

void ScheduleManager::stop()
{
    if (m_timer) {
        m_timer->cancel();
        m_timer.reset();
    }
    std::lock_guard guard(m_state->lock);
    m_state->entries.clear();
    m_state->onShouldActivate = nullptr;
    m_state->onShouldDeactivate = nullptr;
    m_state->isInsideWindow = false;
}

void ScheduleManager::updateEntries(const std::vector<ScheduleEntry>& entries)
{
    {
        std::lock_guard guard(m_state->lock);
        m_state->entries = entries;
    }
    m_state->evaluate();
}

void ScheduleManager::evaluate()
{
    m_state->evaluate();
}

bool ScheduleManager::isInsideWindow() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->isInsideWindow;
}

bool ScheduleManager::holds(const ScheduleEntry& entry, int weekday, int minuteOfDay)
{
    if (!entry.isEnabled)
        return false;
    const auto day = weekday::fromRawValue(weekday);
    if (!day || !entry.days.contains(*day))
        return false;
    // Imported entries may carry any 64-bit number: check the range before any arithmetic.
    const std::int64_t startHour = entry.startTime.hourOrZero();
    const std::int64_t startMinute = entry.startTime.minuteOrZero();
    const std::int64_t endHour = entry.endTime.hourOrZero();
    const std::int64_t endMinute = entry.endTime.minuteOrZero();
    const auto inRange = [](std::int64_t value, std::int64_t max) { return value >= 0 && value <= max; };
    if (!inRange(startHour, 23) || !inRange(endHour, 23) || !inRange(startMinute, 59) || !inRange(endMinute, 59))
        return false;
    const std::int64_t start = startHour * 60 + startMinute;
    const std::int64_t end = endHour * 60 + endMinute;
    if (end < start)
        return minuteOfDay >= start || minuteOfDay < end;
    return minuteOfDay >= start && minuteOfDay < end;
}

} // namespace tremlor
