// Scanning 1,000 generated desktop entries: cold (target under 30 ms) and from the cache
// (target under 1 µs).
#include "Helpers/AppListProvider.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString makeFolder(QTemporaryDir& dir)
{
    const QString folder = dir.filePath("applications");
    for (int i = 0; i < 1000; ++i) {
        const QString sub = i % 10 == 0 ? QStringLiteral("/sub%1").arg(i % 3) : QString();
        QDir().mkpath(folder + sub);
        QFile file(folder + sub + QStringLiteral("/org.example.App%1.desktop").arg(i));
        file.open(QIODevice::WriteOnly);
        file.write("[Desktop Entry]\nType=Application\nName=Application " + QByteArray::number(i * 7919 % 1000)
            + "\nName[de]=Anwendung\nComment=A generated entry\nExec=app" + QByteArray::number(i)
            + " %U\nIcon=app\nCategories=Utility;\n");
    }
    return folder;
}

void scanCold(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString folder = makeFolder(dir);
    std::size_t found = 0;
    for (auto _ : state) {
        tremlor::AppListProvider provider({ folder });
        found = provider.scanInstalledApps().size();
    }
    state.counters["apps"] = static_cast<double>(found);
}
BENCHMARK(scanCold)->Unit(benchmark::kMillisecond);

void scanCached(benchmark::State& state)
{
    QTemporaryDir dir;
    tremlor::AppListProvider provider({ makeFolder(dir) });
    provider.scanInstalledApps();
    for (auto _ : state)
        benchmark::DoNotOptimize(provider.scanInstalledApps());
}
BENCHMARK(scanCached)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
