#pragma once

#include <functional>
#include <vector>

namespace tremlor {

struct ScheduleEntry;

// Tells its owner when a scheduled window opens (with the matching entry) and when the last open
// window closes. Call from the owner's (main) thread; callbacks arrive on that thread, in the
// order of the evaluations.
class ScheduleManaging {
public:
    using ActivateCallback = std::function<void(const ScheduleEntry&)>;
    using DeactivateCallback = std::function<void()>;

    ScheduleManaging() = default;
    virtual ~ScheduleManaging() = default;
    ScheduleManaging(const ScheduleManaging&) = delete;
    ScheduleManaging& operator=(const ScheduleManaging&) = delete;

    // Resets, stores entries and callbacks, evaluates at once, then every 60 seconds.
    virtual void start(const std::vector<ScheduleEntry>& entries, ActivateCallback onShouldActivate,
        DeactivateCallback onShouldDeactivate)
        = 0;
    // Cancels the tick and forgets entries and callbacks without calling either.
    virtual void stop() = 0;
    // Replaces the entries and evaluates at once.
    virtual void updateEntries(const std::vector<ScheduleEntry>& entries) = 0;
};

} // namespace tremlor
