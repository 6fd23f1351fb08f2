// One schedule evaluation over 100 entries, none of which holds (the whole list is walked).
// Target: under 50 µs.
#include "Engine/ScheduleManager.h"
#include "Models/ScheduleEntry.h"

#include <benchmark/benchmark.h>

namespace {

class FixedClock final : public tremlor::Clock {
public:
    QDateTime now() const override { return at; }
    std::chrono::steady_clock::time_point monotonicNow() const override { return {}; }
    QDateTime at { QDate(2026, 12, 2), QTime(20, 30) };
};

void scheduleEvaluation100(benchmark::State& state)
{
    using namespace tremlor;
    std::vector<ScheduleEntry> entries;
    for (int i = 0; i < 100; ++i) {
        ScheduleEntry e;
        e.id = QUuid::createUuid();
        e.days = { Weekday::monday, Weekday::tuesday, Weekday::wednesday, Weekday::thursday, Weekday::friday };
        e.startTime = DateComponents::time(8 + i % 8, i % 60);
        e.endTime = DateComponents::time(17, 0);
        entries.push_back(e);
    }
    FixedClock clock;
    ScheduleManager manager(clock);
    manager.updateEntries(entries);
    for (auto _ : state)
        manager.evaluate();
    benchmark::DoNotOptimize(manager.isInsideWindow());
}
BENCHMARK(scheduleEvaluation100)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
