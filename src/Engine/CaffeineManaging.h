#pragma once

namespace tremlor {

// The engine's front for caffeine mode. Main thread only.
class CaffeineManaging {
public:
    virtual ~CaffeineManaging() = default;
    // True from enable() to disable(): the inhibits are held, being taken, or taken again
    // once their services come back.
    virtual bool isEnabled() const = 0;
    // Starts taking the inhibits with the product's reason text and returns at once; a
    // failure is not reported.
    virtual void enable() = 0;
    // Releases them (or abandons taking them); nothing happens when none are held.
    virtual void disable() = 0;
};

} // namespace tremlor
