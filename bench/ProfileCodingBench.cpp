// Encoding and decoding a list of 1,000 profiles (target: < 20 ms each way).
#include "Models/Profile.h"

#include <benchmark/benchmark.h>

using namespace tremlor;

namespace {

QList<Profile> thousandProfiles()
{
    QList<Profile> list;
    for (int i = 0; i < 1000; ++i) {
        Profile p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Profile %1").arg(i);
        p.selectedAppBundleIDs = { "org.gnome.Calculator", "org.mozilla.firefox", "org.gnome.TextEditor" };
        p.maxInterval = 30.0 + i * 0.25;
        p.jiggleDistance = 3.0;
        p.movementPattern = static_cast<MovementPattern>(i % 4);
        p.rotationMode = static_cast<RotationMode>(i % 2);
        p.duration = i % 3 == 0 ? Duration::custom(i) : Duration::hours2();
        p.caffeineEnabled = i % 2 == 0;
        p.appSwitchInterval = i;
        list.append(p);
    }
    return list;
}

void BM_EncodeProfiles(benchmark::State& state)
{
    const QList<Profile> list = thousandProfiles();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto data = Profile::encodeList(list);
        bytes = static_cast<std::size_t>(data->size());
        benchmark::DoNotOptimize(data);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_DecodeProfiles(benchmark::State& state)
{
    const QByteArray data = *Profile::encodeList(thousandProfiles());
    for (auto _ : state) {
        const auto result = Profile::decodeList(data);
        if (!result || result.value->size() != 1000)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(result);
    }
}

} // namespace

BENCHMARK(BM_EncodeProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
