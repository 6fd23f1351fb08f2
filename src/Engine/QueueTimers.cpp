#include "Engine/QueueTimers.h"

#include "Platform/ThreadHandoff.h"
#include "Platform/Dispatch.h"

#include <thread>

namespace tremlor {

namespace {

// Timer sources count whole milliseconds; a one-shot that comes early waits out the rest, so
// the delay is never shorter than drawn.
std::function<void()> exactly(std::chrono::nanoseconds delay, std::function<void()> fn)
{
    const auto deadline = std::chrono::steady_clock::now() + delay;
    return [deadline, fn = std::move(fn)] {
        std::this_thread::sleep_until(deadline);
        fn();
    };
}

class DispatchTimers final : public QueueTimers
{
public:
    Cancel arm(dispatch::SerialQueue& queue, std::chrono::nanoseconds delay, std::chrono::nanoseconds interval,
               std::function<void()> fn) override
    {
        auto timer = queue.makeTimer();
        fn = [fn = std::move(fn)] {
            handoff::acquire();
            fn();
            handoff::release();
        };
        handoff::release();
        if (interval > std::chrono::nanoseconds::zero())
            timer->scheduleRepeating(delay, interval, std::move(fn));
        else
            timer->scheduleOnce(delay, exactly(delay, std::move(fn)));
        return [timer] { timer->cancel(); };
    }
};

} // namespace

std::shared_ptr<QueueTimers> QueueTimers::system()
{
    static const auto timers = std::make_shared<DispatchTimers>();
    return timers;
}

} // namespace tremlor
