#pragma once

#include <QString>

namespace tremlor {

// Keeps the display and the system awake: two inhibits taken and released as one pair.
// Main thread only.
class SleepPreventing {
public:
    virtual ~SleepPreventing() = default;
    // True while both inhibits are held.
    virtual bool isPreventingSleep() const = 0;
    // Takes both (or neither); true when they are held afterwards. A call while held keeps
    // the held pair and its reason.
    virtual bool preventSleep(const QString& reason) = 0;
    // Releases both; nothing happens when none are held.
    virtual void allowSleep() = 0;
};

} // namespace tremlor
