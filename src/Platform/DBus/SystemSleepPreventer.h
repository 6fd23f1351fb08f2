#pragma once

#include "Platform/PowerAssertion.h"
#include "Platform/SleepPreventing.h"

#include <memory>

namespace tremlor {

// Holds the display inhibit and the idle-sleep inhibit as one pair: both or neither. Both are
// asked for at once without waiting; a half-made pair is given back. When either is lost
// while held, the other is given back and the pair is taken again as soon as a service comes
// back, for as long as it is wanted.
class SystemSleepPreventer final : public SleepPreventing {
public:
    // The session's services: the screensaver service on the session bus (else the X
    // server's screensaver suspension) and logind on the system bus.
    SystemSleepPreventer();
    SystemSleepPreventer(std::unique_ptr<PowerAssertion> display, std::unique_ptr<PowerAssertion> idleSleep);
    ~SystemSleepPreventer() override;
    Q_DISABLE_COPY_MOVE(SystemSleepPreventer)

    bool isPreventingSleep() const override { return m_isPreventingSleep; }
    void preventSleep(const QString& reason) override;
    void allowSleep() override;

    // True while the pair is asked for and not both answers are in.
    bool isTaking() const { return m_answersDue > 0; }

private:
    void takePair();
    void onAnswer(unsigned attempt);
    void releasePair();
    void onAssertionChanged(PowerAssertion::Change change);

    std::unique_ptr<PowerAssertion> m_display;
    std::unique_ptr<PowerAssertion> m_idleSleep;
    bool m_isPreventingSleep = false;
    // Set by preventSleep until allowSleep: the pair is taken again after a loss.
    bool m_wanted = false;
    QString m_reason;
    // Answers of an abandoned attempt are ignored.
    unsigned m_attempt = 0;
    int m_answersDue = 0;
    bool m_inChange = false;
};

} // namespace tremlor
