// The serial queues with no Qt application and no event loop at all, as in a tool or at quit.
#include "Engine/QueueTimers.h"
#include "Engine/ScheduleManager.h"
#include "Platform/Dispatch.h"
#include "support/ScheduleWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <thread>

using namespace tremlor;
using namespace std::chrono_literals;

namespace {

// Runs fn on a thread of its own; a hang fails the test (and ends the process, since the hung
// thread cannot be joined).
template <typename F> void finishesPromptly(F fn)
{
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    std::thread([done, fn] {
        fn();
        done->set_value();
    }).detach();
    if (finished.wait_for(5s) != std::future_status::ready) {
        ADD_FAILURE() << "did not finish within 5 s";
        std::_Exit(1);
    }
}

TEST(SerialQueue, AManagerGoesAwayPromptlyWithoutAnyEventLoop)
{
    finishesPromptly([] {
        auto manager = std::make_unique<ScheduleManager>(SystemClock::instance(), 5ms);
        manager->start(
            { tremlor::testing::windowAroundNow(-5, 5) }, [](const ScheduleEntry&) {}, [] {});
        std::this_thread::sleep_for(20ms); // a few ticks post to a main queue that is not there
        manager.reset();
    });
}

TEST(SerialQueue, ShutdownRunsWhatIsQueuedThenRefusesWork)
{
    dispatch::SerialQueue queue(QStringLiteral("test.queue"));
    std::atomic<int> ran { 0 };
    queue.async([&] {
        std::this_thread::sleep_for(10ms);
        ++ran;
        queue.async([&] { ran += 100; }); // refused: the queue is closing
    });
    queue.async([&] { ++ran; });
    queue.shutdown();
    EXPECT_EQ(ran, 2);
    queue.async([&] { ++ran; });
    queue.sync([&] { ++ran; });
    EXPECT_EQ(ran, 2);
}

TEST(SerialQueue, ACancelledTimerIsFreedAtOnce)
{
    dispatch::SerialQueue queue(QStringLiteral("test.timers"));
    auto timers = QueueTimers::system();
    for (const auto interval : { 0ns, std::chrono::nanoseconds(24h) }) {
        auto token = std::make_shared<int>(0);
        const std::weak_ptr<int> watch = token;
        auto cancel = timers->arm(queue, 36h, interval, [token] {});
        token.reset();
        EXPECT_EQ(queue.armedTimerCount(), 1u);
        cancel();
        EXPECT_TRUE(watch.expired()) << "interval " << interval.count();
        EXPECT_EQ(queue.armedTimerCount(), 0u);
    }
}

TEST(SerialQueue, AOneShotFiresOnceNeverEarlyAndIsThenFreed)
{
    dispatch::SerialQueue queue(QStringLiteral("test.timers"));
    std::promise<std::chrono::steady_clock::time_point> fired;
    std::atomic<int> count { 0 };
    const auto armedAt = std::chrono::steady_clock::now();
    auto cancel = QueueTimers::system()->arm(queue, 15ms, 0ns, [&] {
        if (++count == 1)
            fired.set_value(std::chrono::steady_clock::now());
    });
    EXPECT_GE(fired.get_future().get() - armedAt, 15ms);
    queue.sync([] {});
    EXPECT_EQ(queue.armedTimerCount(), 0u);
    EXPECT_EQ(count, 1);
}

} // namespace
