// CPU of a running session on a private Xvfb: the bounce pattern at a 1-second interval
// (target: under 0.5 % of one core), then the natural pattern. Seconds per pattern:
// first argument or TREMLOR_BENCH_SECONDS (default 60).
#include "Engine/MouseMover.h"
#include "Platform/X11/SystemMouseMover.h"
#include "support/TestDesktop.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

using namespace tremlor;

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void measure(const QString& display, MovementPattern pattern, int seconds)
{
    auto poster = std::make_shared<SystemMouseMover>(display);
    MouseMover mover(poster);
    std::atomic<int> jiggles { 0 };
    mover.setOnJiggle([&] { ++jiggles; });
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    mover.start(1.0, 10.0, pattern, true, false);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    mover.stop();
    mover.waitUntilIdle();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("  %-8s %3d s: %d ticks, CPU %.3f s = %.3f %% of one core\n", qPrintable(rawValue(pattern)), seconds,
        jiggles.load(), cpu, 100.0 * cpu / wall);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 60;
    if (argc > 1)
        seconds = std::max(1, std::atoi(argv[1]));
    else if (const char* env = std::getenv("TREMLOR_BENCH_SECONDS"))
        seconds = std::max(1, std::atoi(env));
    TestDesktop desktop(TestDesktop::Options::xServerOnly());
    if (!desktop.ok()) {
        std::printf("session CPU: skipped (%s)\n", qPrintable(desktop.error()));
        return 0;
    }
    std::printf("session CPU on a private Xvfb, maxInterval 1 s, keyboard on (target for bounce: < 0.5 %%):\n");
    measure(desktop.display(), MovementPattern::bounce, seconds);
    measure(desktop.display(), MovementPattern::natural, seconds);
    return 0;
}
