#pragma once

#include <QString>

namespace tremlor {

// Keeps the display and the system awake: two inhibits taken and released as one pair.
// Main thread only; no call waits for a service.
class SleepPreventing {
public:
    virtual ~SleepPreventing() = default;
    // True once both inhibits are held, false while they are being taken.
    virtual bool isPreventingSleep() const = 0;
    // Starts taking both (or neither) and returns at once. A call while held or being taken
    // keeps that pair and its reason. Until allowSleep, a lost pair is taken again when its
    // services come back.
    virtual void preventSleep(const QString& reason) = 0;
    // Releases both, or abandons the pair being taken.
    virtual void allowSleep() = 0;
};

} // namespace tremlor
