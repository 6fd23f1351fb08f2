#include "Engine/CaffeineManager.h"

namespace tremlor {

CaffeineManager::CaffeineManager(std::shared_ptr<SleepPreventing> sleepPreventer)
    : m_sleepPreventer(std::move(sleepPreventer))
{
}

bool CaffeineManager::isEnabled() const
{
    // What is held, not what was asked for: a refused pair reads as off and is asked for again.
    return m_sleepPreventer && m_sleepPreventer->isPreventingSleep();
}

void CaffeineManager::enable()
{
    if (m_sleepPreventer)
        m_sleepPreventer->preventSleep(reason());
}

void CaffeineManager::disable()
{
    if (m_sleepPreventer)
        m_sleepPreventer->allowSleep();
}

} // namespace tremlor
