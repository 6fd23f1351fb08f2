#pragma once

#include "Models/Duration.h"

#include <QObject>
#include <QString>

#include <functional>

namespace tremlor {

// The session countdown as the engine sees it. Main thread only. The NOTIFY signals fire after
// every assignment of a published value, even when it keeps its value (like a published
// property), so observers see each start.
class DurationTimerProtocol : public QObject {
    Q_OBJECT
    Q_PROPERTY(double remainingSeconds READ remainingSeconds NOTIFY remainingSecondsChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(double totalSeconds READ totalSeconds NOTIFY totalSecondsChanged)
    Q_PROPERTY(bool isIndefinite READ isIndefinite NOTIFY remainingSecondsChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(QString formattedTimeRemaining READ formattedTimeRemaining NOTIFY remainingSecondsChanged)

public:
    using TickHandler = std::function<void(double remainingSeconds)>;
    using ExpiryHandler = std::function<void()>;

    using QObject::QObject;
    ~DurationTimerProtocol() override = default;

    // Whole seconds left in the session.
    virtual double remainingSeconds() const = 0;
    // True from a start until a stop, also while paused and for an indefinite session.
    virtual bool isRunning() const = 0;
    // Length of the session in seconds; 0 for an indefinite session.
    virtual double totalSeconds() const = 0;
    // True when the last start was for an indefinite session.
    virtual bool isIndefinite() const = 0;
    // True while a running, finite countdown is held without ticking.
    virtual bool isPaused() const = 0;
    // "∞", "m:ss" below an hour, else "h:mm:ss".
    virtual QString formattedTimeRemaining() const = 0;

    // Restarts the countdown for duration; onTick gets the new remaining seconds after every
    // firing, onExpiry is called once when the count reaches zero (in the same firing).
    virtual void start(const Duration& duration, TickHandler onTick, ExpiryHandler onExpiry) = 0;
    // Ends the countdown and drops the callbacks; the counts keep their values.
    virtual void stop() = 0;
    // Stops ticking but stays running with the same counts and callbacks.
    virtual void pause() = 0;
    // Ticks again after a pause when seconds remain.
    virtual void resume() = 0;

Q_SIGNALS:
    void remainingSecondsChanged(double remainingSeconds);
    void isRunningChanged(bool isRunning);
    void totalSecondsChanged(double totalSeconds);
    void isPausedChanged(bool isPaused);
};

} // namespace tremlor
