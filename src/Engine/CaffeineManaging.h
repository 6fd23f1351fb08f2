#pragma once

namespace tremlor {

// The engine's front for caffeine mode. Main thread only.
class CaffeineManaging {
public:
    virtual ~CaffeineManaging() = default;
    // True while the inhibits are held: not while they are still being asked for, nor after
    // they were refused or lost.
    virtual bool isEnabled() const = 0;
    // Starts taking the inhibits with the product's reason text and returns at once; a
    // failure is not reported. Asks nothing new while they are held or still being asked for.
    virtual void enable() = 0;
    // Releases them (or abandons taking them); nothing happens when none are held.
    virtual void disable() = 0;
};

} // namespace tremlor
