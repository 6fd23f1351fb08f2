#include "Engine/ScheduleManager.h"

#include "Platform/Dispatch.h"

namespace tremlor {

// Interim: the evaluation arrives with the schedule entry record.
struct ScheduleManager::State
{
    bool isInsideWindow = false;
};

ScheduleManager::ScheduleManager(const Clock& clock, std::chrono::milliseconds tickInterval)
    : m_clock(clock)
    , m_tickInterval(tickInterval)
    , m_state(std::make_shared<State>())
{
}

ScheduleManager::~ScheduleManager() = default;

void ScheduleManager::start(const std::vector<ScheduleEntry>&, ActivateCallback, DeactivateCallback) { }

void ScheduleManager::stop() { }

void ScheduleManager::updateEntries(const std::vector<ScheduleEntry>&) { }

void ScheduleManager::evaluate() { }

bool ScheduleManager::isInsideWindow() const
{
    return m_state->isInsideWindow;
}

bool ScheduleManager::holds(const ScheduleEntry&, int, int)
{
    return false;
}

} // namespace tremlor
