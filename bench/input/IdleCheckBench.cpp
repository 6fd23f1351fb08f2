// The idle monitor's once-a-second check: target under 50 µs. Measured with an in-memory source
// (the rules, the locks, the record) and with the real X11 source on a private Xvfb (adds the
// pointer round trip and the listener's reads).
#include "Engine/DirazUvuraLogger.h"
#include "Engine/IdleDetector.h"
#include "Engine/QueueTimers.h"
#include "Platform/X11/X11InputIdleSource.h"
#include "support/TestDesktop.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace tremlor;

namespace {

// Keeps the check instead of arming it, so the benchmark calls it directly.
class CapturedTimers final : public QueueTimers {
public:
    Cancel arm(
        dispatch::SerialQueue&, std::chrono::nanoseconds, std::chrono::nanoseconds, std::function<void()> fn) override
    {
        check = std::move(fn);
        return [] {};
    }
    std::function<void()> check;
};

class StillSource final : public InputIdleSource {
public:
    QPointF cursorLocation() override { return { 640, 400 }; }
    double secondsSinceLastEvent(InputEventType) override { return 12.5; }
};

void runChecks(benchmark::State& state, std::shared_ptr<InputIdleSource> source)
{
    auto timers = std::make_shared<CapturedTimers>();
    SystemIdleMonitor::Seams seams;
    seams.timers = timers;
    SystemIdleMonitor monitor(std::move(source), seams);
    monitor.startMonitoring(30.0);
    monitor.waitUntilIdle();
    for (auto _ : state)
        timers->check();
    monitor.stopMonitoring();
}

void BM_IdleCheckInMemory(benchmark::State& state)
{
    runChecks(state, std::make_shared<StillSource>());
}
BENCHMARK(BM_IdleCheckInMemory)->Unit(benchmark::kMicrosecond);

void BM_IdleCheckOnXvfb(benchmark::State& state)
{
    TestDesktop desktop(TestDesktop::Options::xServerOnly());
    if (!desktop.ok()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    runChecks(state, std::make_shared<x11::X11InputIdleSource>(desktop.display()));
}
BENCHMARK(BM_IdleCheckOnXvfb)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The detail line every tenth check is formatted, not printed.
    DirazUvuraLogger::setSink([](DirazUvuraLogger::Level, const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
