#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace tremlor {

namespace dispatch {
class SerialQueue;
}

// Arms exact timers on a serial queue. The mover and the idle monitor take one, so tests can
// fire ticks by hand instead of waiting.
class QueueTimers {
public:
    using Cancel = std::function<void()>;
    virtual ~QueueTimers() = default;
    // Runs fn on queue once after delay, or every interval after it when interval > 0. The
    // returned function cancels it from any thread; no run starts after it returns.
    virtual Cancel arm(dispatch::SerialQueue& queue, std::chrono::nanoseconds delay, std::chrono::nanoseconds interval,
        std::function<void()> fn)
        = 0;
    // Timer sources of the dispatch layer, zero leeway.
    static std::shared_ptr<QueueTimers> system();
};

} // namespace tremlor
