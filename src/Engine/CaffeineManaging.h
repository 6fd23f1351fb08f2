#pragma once

namespace tremlor {

// The engine's front for caffeine mode. Main thread only.
class CaffeineManaging {
public:
    virtual ~CaffeineManaging() = default;
    // True while the sleep inhibits are held.
    virtual bool isEnabled() const = 0;
    // Takes the inhibits with the product's reason text; a failure is not reported.
    virtual void enable() = 0;
    // Releases them; nothing happens when none are held.
    virtual void disable() = 0;
};

} // namespace tremlor
