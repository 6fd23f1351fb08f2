// Reading a scalar setting goes to the defaults domain on every access (target: < 200 ns).
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tremlor;

namespace {

struct Store {
    QTemporaryDir dir;
    UserDefaults defaults { dir.path() };
    TremlorSettings settings { defaults };

    explicit Store(bool stored)
    {
        if (!stored)
            return;
        // Every key present, as after a reset, so reads find a stored value.
        settings.resetToDefaults();
        settings.setMaxInterval(42.5);
    }
};

template <typename Read> void readLoop(benchmark::State& state, Read read)
{
    Store store(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(read(store.settings));
}

void BM_ReadDouble(benchmark::State& state)
{
    readLoop(state, [](TremlorSettings& s) { return s.maxInterval(); });
}

void BM_ReadBool(benchmark::State& state)
{
    readLoop(state, [](TremlorSettings& s) { return s.caffeineEnabled(); });
}

void BM_ReadEnumeration(benchmark::State& state)
{
    readLoop(state, [](TremlorSettings& s) { return s.movementPattern(); });
}

void BM_ReadString(benchmark::State& state)
{
    readLoop(state, [](TremlorSettings& s) { return s.defaultDurationId(); });
}

} // namespace

// Argument 0: the key is absent (reads the default); 1: the key holds a stored value.
BENCHMARK(BM_ReadDouble)->Arg(0)->Arg(1);
BENCHMARK(BM_ReadBool)->Arg(0)->Arg(1);
BENCHMARK(BM_ReadEnumeration)->Arg(0)->Arg(1);
BENCHMARK(BM_ReadString)->Arg(0)->Arg(1);
BENCHMARK_MAIN();
