#include "Platform/DBus/SystemSleepPreventer.h"

#include "Platform/DBus/DisplaySleepInhibitor.h"
#include "Platform/DBus/LogindInhibitor.h"

namespace tremlor {

SystemSleepPreventer::SystemSleepPreventer()
    : SystemSleepPreventer(std::make_unique<DisplaySleepInhibitor>(), std::make_unique<LogindInhibitor>())
{
}

SystemSleepPreventer::SystemSleepPreventer(
    std::unique_ptr<PowerAssertion> display, std::unique_ptr<PowerAssertion> idleSleep)
    : m_display(std::move(display))
    , m_idleSleep(std::move(idleSleep))
{
    m_display->setChangeHandler([this](PowerAssertion::Change change) { onAssertionChanged(change); });
    m_idleSleep->setChangeHandler([this](PowerAssertion::Change change) { onAssertionChanged(change); });
}

SystemSleepPreventer::~SystemSleepPreventer()
{
    m_display->setChangeHandler(nullptr);
    m_idleSleep->setChangeHandler(nullptr);
    if (m_isPreventingSleep)
        releasePair();
}

bool SystemSleepPreventer::preventSleep(const QString& reason)
{
    if (m_isPreventingSleep)
        return true;
    m_wanted = true;
    m_reason = reason;
    return takePair(reason);
}

void SystemSleepPreventer::allowSleep()
{
    m_wanted = false;
    if (!m_isPreventingSleep)
        return;
    releasePair();
}

bool SystemSleepPreventer::takePair(const QString& reason)
{
    // Both are tried even when the first fails, then a half-made pair is rolled back.
    const bool display = m_display->acquire(reason);
    const bool idleSleep = m_idleSleep->acquire(reason);
    m_isPreventingSleep = display && idleSleep;
    if (!m_isPreventingSleep) {
        if (display)
            m_display->release();
        if (idleSleep)
            m_idleSleep->release();
    }
    return m_isPreventingSleep;
}

void SystemSleepPreventer::releasePair()
{
    m_display->release();
    m_idleSleep->release();
    m_isPreventingSleep = false;
}

void SystemSleepPreventer::onAssertionChanged(PowerAssertion::Change change)
{
    if (m_inChange)
        return; // reported back from inside our own release or acquire
    m_inChange = true;
    if (change == PowerAssertion::Change::lost) {
        if (m_isPreventingSleep && (!m_display->isHeld() || !m_idleSleep->isHeld()))
            releasePair(); // both or neither
    } else if (m_wanted && !m_isPreventingSleep) {
        takePair(m_reason);
    }
    m_inChange = false;
}

} // namespace tremlor
