#pragma once

#include "Models/Duration.h"

#include <QString>

namespace tremlor {

// What the interface reads of the session engine and the two operations it calls. The engine
// itself is a QObject that announces every change of the five published values.
class TremlorEngineProtocol {
public:
    virtual ~TremlorEngineProtocol() = default;

    virtual bool isActive() const = 0;
    virtual bool isPausedByIdle() const = 0;
    virtual QString remainingTimeString() const = 0;
    virtual QString currentAppName() const = 0;
    virtual QString nextAppName() const = 0;

    // Elapsed fraction of the session, 0…1.
    virtual double sessionProgress() const = 0;
    // The countdown's indefinite flag and remaining seconds, for the panel.
    virtual bool isIndefinite() const = 0;
    virtual double remainingSeconds() const = 0;

    virtual void start(const Duration& duration) = 0;
    virtual void stop(bool dueToExpiry) = 0;
};

} // namespace tremlor
