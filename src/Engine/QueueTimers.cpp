#include "Engine/QueueTimers.h"

#include "Platform/Dispatch.h"

namespace tremlor {

namespace {

class DispatchTimers final : public QueueTimers {
public:
    Cancel arm(dispatch::SerialQueue& queue, std::chrono::nanoseconds delay, std::chrono::nanoseconds interval,
        std::function<void()> fn) override
    {
        auto timer = queue.makeTimer();
        if (interval > std::chrono::nanoseconds::zero())
            timer->scheduleRepeating(delay, interval, std::move(fn));
        else
            timer->scheduleOnce(delay, std::move(fn));
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
