#include "Engine/CaffeineManager.h"

namespace tremlor {

CaffeineManager::CaffeineManager(std::shared_ptr<SleepPreventing> sleepPreventer)
    : m_sleepPreventer(std::move(sleepPreventer))
{
}

bool CaffeineManager::isEnabled() const
{
    return m_enabled;
}

void CaffeineManager::enable()
{
    m_enabled = true;
    if (m_sleepPreventer)
        m_sleepPreventer->preventSleep(reason());
}

void CaffeineManager::disable()
{
    m_enabled = false;
    if (m_sleepPreventer)
        m_sleepPreventer->allowSleep();
}

} // namespace tremlor
