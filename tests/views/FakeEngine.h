#pragma once

#include "Engine/TremlorEngineProtocol.h"

#include <gmock/gmock.h>

namespace viewtest {

// The engine as the panel sees it: published values set by the test (announced with their
// signals), start and stop recorded by GoogleMock. By default start and stop flip isActive as
// the engine would.
class FakeEngine : public tremlor::TremlorEngineProtocol {
public:
    FakeEngine()
    {
        ON_CALL(*this, start(::testing::_)).WillByDefault([this](const tremlor::Duration&) { setActive(true); });
        ON_CALL(*this, stop(::testing::_)).WillByDefault([this](bool) { setActive(false); });
    }

    bool isActive() const override { return active; }
    bool isPausedByIdle() const override { return paused; }
    QString remainingTimeString() const override { return timeText; }
    QString currentAppName() const override { return {}; }
    QString nextAppName() const override { return {}; }
    double sessionProgress() const override { return progress; }
    bool isIndefinite() const override { return indefinite; }
    double remainingSeconds() const override { return remaining; }

    MOCK_METHOD(void, start, (const tremlor::Duration& duration), (override));
    MOCK_METHOD(void, stop, (bool dueToExpiry), (override));

    void setActive(bool value)
    {
        active = value;
        Q_EMIT isActiveChanged(value);
    }
    // One countdown tick: the texts and numbers of a running session.
    void tick(double seconds, double fraction, const QString& text)
    {
        remaining = seconds;
        progress = fraction;
        timeText = text;
        Q_EMIT remainingTimeStringChanged(text);
        Q_EMIT countdownChanged();
    }
    void setPaused(bool value)
    {
        paused = value;
        Q_EMIT isPausedByIdleChanged(value);
    }

    bool active = false;
    bool paused = false;
    bool indefinite = false;
    QString timeText;
    double progress = 0;
    double remaining = 0;
};

} // namespace viewtest
