#pragma once

#include <QString>

#include <functional>

namespace tremlor {

// One kind of sleep inhibit held by a system service (display or idle sleep). Main thread only.
class PowerAssertion {
public:
    enum class Change {
        lost, // a held inhibit was dropped because its service or bus went away
        available, // the service (or the bus) is there again
    };
    // Called on the main thread.
    using ChangeHandler = std::function<void(Change)>;

    virtual ~PowerAssertion() = default;
    // Takes the inhibit; true when it is held afterwards. Blocks for at most a 1 s timeout.
    virtual bool acquire(const QString& reason) = 0;
    // Gives it back; nothing happens when none is held.
    virtual void release() = 0;
    // True while held (false once the service or bus went away).
    virtual bool isHeld() const = 0;
    virtual void setChangeHandler(ChangeHandler handler) = 0;
};

} // namespace tremlor
