// Builds and first shows the panel over 200 installed applications, then watches what a
// running session costs: paints and CPU time per second in each animated state while the
// panel shows, and timers and paints while it is hidden. Prints the figures.
#include "Engine/TremlorEngineProtocol.h"
#include "Helpers/AppScanning.h"
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"
#include "Views/Popover/TremlorPopoverView.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <map>

using namespace tremlor;

namespace {

class StubEngine final : public TremlorEngineProtocol {
public:
    bool isActive() const override { return active; }
    bool isPausedByIdle() const override { return false; }
    QString remainingTimeString() const override { return text; }
    QString currentAppName() const override { return {}; }
    QString nextAppName() const override { return QStringLiteral("Firefox"); }
    double sessionProgress() const override { return progress; }
    bool isIndefinite() const override { return indefinite; }
    double remainingSeconds() const override { return remaining; }
    void start(const Duration&) override
    {
        active = true;
        Q_EMIT isActiveChanged(true);
    }
    void stop(bool) override
    {
        active = false;
        Q_EMIT isActiveChanged(false);
    }
    void tick()
    {
        remaining -= 1;
        progress = 1 - remaining / 3600;
        text = QStringLiteral("%1:%2").arg(int(remaining) / 60).arg(int(remaining) % 60, 2, 10, QLatin1Char('0'));
        Q_EMIT remainingTimeStringChanged(text);
        Q_EMIT countdownChanged();
    }

    bool active = false;
    bool indefinite = false;
    double remaining = 3600;
    double progress = 0;
    QString text;
};

class ManyApps final : public AppScanning {
public:
    ManyApps()
    {
        for (int i = 0; i < 200; ++i)
            m_apps << AppInfo(QStringLiteral("org.example.App%1").arg(i, 3, 10, QLatin1Char('0')),
                QStringLiteral("Application %1").arg(i),
                QStringLiteral("/usr/share/applications/app%1.desktop").arg(i));
    }
    QList<AppInfo> scanInstalledApps() override { return m_apps; }

private:
    QList<AppInfo> m_apps;
};

struct Store {
    QTemporaryDir dir;
    UserDefaults defaults { dir.path() };
    TremlorSettings settings { defaults };
};

TremlorPopoverView::AppScannerFactory manyApps()
{
    return [] { return std::make_unique<ManyApps>(); };
}

void BM_BuildAndFirstShowPanel(benchmark::State& state)
{
    Store store;
    store.settings.setPopoverExpanded(state.range(0) != 0);
    StubEngine engine;
    QImage image(TremlorPopoverView::panelWidth * 2, 1200, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    for (auto _ : state) {
        TremlorPopoverView panel(store.settings, engine, manyApps());
        panel.show();
        QCoreApplication::processEvents();
        panel.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_BuildAndFirstShowPanel)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Counts paint events per widget class.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[QString::fromLatin1(watched->metaObject()->className())];
        return false;
    }
    int total() const
    {
        int n = 0;
        for (const auto& [name, count] : counts)
            n += count;
        return n;
    }
    std::map<QString, int> counts;
};

int runningAnimations(const QWidget& root)
{
    int n = 0;
    for (const QAbstractAnimation* a : root.findChildren<QAbstractAnimation*>())
        n += a->state() == QAbstractAnimation::Running;
    return n;
}

// Runs the event loop, sleeping while nothing happens, so CPU time is what the panel costs.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU time of the whole process (every thread), in milliseconds.
double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void reportRepaints()
{
    Store store;
    store.settings.setPopoverExpanded(false);
    StubEngine engine;
    TremlorPopoverView panel(store.settings, engine, manyApps());
    panel.show();
    runFor(200);

    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &engine, [&] { engine.tick(); });
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    const auto phase = [&](const char* name, int seconds) {
        counter.counts.clear();
        const double before = cpuMs();
        runFor(seconds * 1000);
        const double cpu = (cpuMs() - before) / seconds;
        std::printf("%-38s %5.1f paints/s, %5.1f ms CPU/s (%.1f %% of a core), %d running animations;", name,
            counter.total() / double(seconds), cpu, cpu / 10, runningAnimations(panel));
        for (const auto& [cls, count] : counter.counts)
            std::printf(" %s %d", qPrintable(cls), count);
        std::printf("\n");
    };

    phase("no session, shown:", 2);
    engine.start(Duration::hours1());
    ticks.start(1000);
    runFor(600); // the button's fade and the ring's first move settle
    phase("timed session, shown:", 3);
    engine.remaining = 45; // the last minute pulses
    phase("timed session, last minute, shown:", 2);
    engine.remaining = 3000;
    engine.indefinite = true;
    engine.tick();
    phase("indefinite session, shown:", 4);
    panel.hide();
    runFor(100);
    phase("indefinite session, hidden:", 2);
    engine.indefinite = false;
    phase("timed session, hidden:", 2);
    qApp->removeEventFilter(&counter);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // Before anything else has been built: the cost of one panel, kept as the app keeps it.
        const long before = residentKiB();
        auto* store = new Store;
        store->settings.setPopoverExpanded(true);
        auto* engine = new StubEngine;
        auto* panel = new TremlorPopoverView(store->settings, *engine, manyApps());
        panel->show();
        runFor(300);
        panel->hide();
        runFor(100);
        const long after = residentKiB();
        std::printf("resident memory: %ld KiB with the application object, %ld KiB once a panel (200 apps, "
                    "expanded) was built, shown and hidden (+%ld KiB)\n\n",
            before, after, after - before);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    reportRepaints();
    benchmark::Shutdown();
    return 0;
}
