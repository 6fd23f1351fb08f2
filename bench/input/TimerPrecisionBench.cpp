// How exactly the mover's one-shot timers fire: the delay actually waited versus the drawn
// delay, median and 99th percentile (target: within 2 ms).
#include "Engine/QueueTimers.h"
#include "Platform/Dispatch.h"
#include "Platform/Random.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

using namespace tremlor;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int samples = argc > 1 ? std::max(10, std::atoi(argv[1])) : 80;
    dispatch::SerialQueue queue(QStringLiteral("bench.timers"));
    auto timers = QueueTimers::system();
    auto& random = SystemRandom::instance();

    std::vector<double> lateMs;
    for (int i = 0; i < samples; ++i) {
        // Drawn like the mover's delays, scaled down to keep the run short: 20–200 ms.
        const double drawn = random.uniformReal(0.020, 0.200);
        std::mutex lock;
        std::condition_variable fired;
        bool done = false;
        Clock::time_point firedAt;
        const auto armedAt = Clock::now();
        auto cancel = timers->arm(queue, std::chrono::nanoseconds(static_cast<long long>(drawn * 1e9)),
            std::chrono::nanoseconds::zero(), [&] {
                std::lock_guard guard(lock);
                firedAt = Clock::now();
                done = true;
                fired.notify_one();
            });
        std::unique_lock guard(lock);
        fired.wait(guard, [&] { return done; });
        const double waited = std::chrono::duration<double>(firedAt - armedAt).count();
        lateMs.push_back(std::abs(waited - drawn) * 1000.0);
    }
    std::sort(lateMs.begin(), lateMs.end());
    const auto at
        = [&](double q) { return lateMs[std::min(lateMs.size() - 1, static_cast<std::size_t>(q * lateMs.size()))]; };
    std::printf("timer precision over %d one-shot timers of 20-200 ms (|waited - drawn|):\n", samples);
    std::printf(
        "  median %.3f ms   p99 %.3f ms   max %.3f ms   (target: within 2 ms)\n", at(0.5), at(0.99), lateMs.back());
    return 0;
}
