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
    releasePair();
}

void SystemSleepPreventer::preventSleep(const QString& reason)
{
    if (m_isPreventingSleep || isTaking())
        return;
    m_wanted = true;
    m_reason = reason;
    takePair();
}

void SystemSleepPreventer::allowSleep()
{
    m_wanted = false;
    releasePair();
}

void SystemSleepPreventer::takePair()
{
    const unsigned attempt = ++m_attempt;
    // Both are asked at once; an answer may come back before acquire returns.
    m_answersDue = 2;
    m_display->acquire(m_reason, [this, attempt](bool) { onAnswer(attempt); });
    if (attempt == m_attempt)
        m_idleSleep->acquire(m_reason, [this, attempt](bool) { onAnswer(attempt); });
}

void SystemSleepPreventer::onAnswer(unsigned attempt)
{
    if (attempt != m_attempt || --m_answersDue > 0)
        return;
    // Read the state now rather than the answers: one may have been lost in between.
    m_isPreventingSleep = m_display->isHeld() && m_idleSleep->isHeld();
    if (!m_isPreventingSleep) {
        m_display->release();
        m_idleSleep->release();
    }
}

void SystemSleepPreventer::releasePair()
{
    ++m_attempt; // answers still due are abandoned
    m_answersDue = 0;
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
    } else if (m_wanted && !m_isPreventingSleep && !isTaking()) {
        takePair();
    }
    m_inChange = false;
}

} // namespace tremlor
