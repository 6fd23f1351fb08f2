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
    // Called on the main thread with whether the inhibit is held.
    using Done = std::function<void(bool held)>;

    virtual ~PowerAssertion() = default;
    // Starts taking the inhibit and returns at once; `done` follows, at once when no service
    // needs asking. A release() first abandons the request: `done` is not called and what a
    // late answer grants is given back.
    virtual void acquire(const QString& reason, Done done) = 0;
    // Gives it back (or abandons a request); nothing happens when none is held.
    virtual void release() = 0;
    // True while held (false once the service or bus went away).
    virtual bool isHeld() const = 0;
    virtual void setChangeHandler(ChangeHandler handler) = 0;
};

} // namespace tremlor
