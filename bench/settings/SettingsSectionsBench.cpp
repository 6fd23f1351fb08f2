// Building the Profiles and Schedule sections over 1,000 profiles and 1,000 schedule entries
// (target: median < 100 ms each) until the section is on screen with its first rows, and until
// every row is made (the list makes the rest a part per turn of the event loop); exporting and
// importing a settings file that holds them (target: < 50 ms each).
#include "Helpers/AccessibilityChecking.h"
#include "Helpers/AppScanning.h"
#include "Helpers/LoginItemManaging.h"
#include "Models/TremlorSettings.h"
#include "Platform/Clock.h"
#include "Platform/UserDefaults.h"
#include "Views/Settings/ProfilesSettingsView.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/SectionList.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/TremlorSettingsDocument.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace tremlor;

namespace {

struct NoAccessibility final : AccessibilityChecking {
    bool isTrusted() const override { return true; }
    bool requestAccess(bool) override { return true; }
};

struct NoLoginItem final : LoginItemManaging {
    bool isEnabled() const override { return false; }
    void setEnabled(bool) override { }
};

// A store in a temporary folder with 1,000 profiles and 1,000 entries that name them.
struct World {
    World()
        : defaults(dir.path())
        , settings(defaults)
        , context { settings, [] { return std::unique_ptr<AppScanning>(); }, access, login, SystemClock::instance() }
    {
        QList<Profile> profiles;
        QList<ScheduleEntry> entries;
        for (int i = 0; i < 1000; ++i) {
            Profile p = settings.captureAsProfile(QStringLiteral("Profile %1").arg(i));
            p.selectedAppBundleIDs = { "org.gnome.Calculator", "org.mozilla.firefox" };
            p.maxInterval = 10 + i % 290;
            p.movementPattern = static_cast<MovementPattern>(i % 4);
            profiles.append(p);
            ScheduleEntry e { QUuid::createUuid(), i % 3 != 0, { Weekday::monday, Weekday::friday },
                DateComponents::time(i % 24, i % 60), DateComponents::time((i + 8) % 24, 0), p.id };
            entries.append(e);
        }
        settings.setProfiles(profiles);
        settings.setScheduleEntries(entries);
        settings.applyProfile(profiles[500]);
    }

    QTemporaryDir dir;
    UserDefaults defaults;
    TremlorSettings settings;
    NoAccessibility access;
    NoLoginItem login;
    SettingsContext context;
};

World& world()
{
    static World w;
    return w;
}

// Made, laid out at the window's detail size and shown, as selecting the section does; with
// `allRows`, also every turn of the event loop until the last row is made.
template <typename View> void buildSection(benchmark::State& state, bool allRows)
{
    World& w = world();
    for (auto _ : state) {
        auto view = std::make_unique<View>(w.context);
        view->resize(520, 500);
        view->show();
        QApplication::processEvents();
        while (allRows && !view->list()->isComplete())
            QApplication::processEvents();
        benchmark::DoNotOptimize(view.get());
        state.PauseTiming();
        view.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_BuildProfilesSection(benchmark::State& state)
{
    buildSection<ProfilesSettingsView>(state, false);
}

void BM_BuildScheduleSection(benchmark::State& state)
{
    buildSection<ScheduleSettingsView>(state, false);
}

void BM_BuildProfilesSectionAllRows(benchmark::State& state)
{
    buildSection<ProfilesSettingsView>(state, true);
}

void BM_BuildScheduleSectionAllRows(benchmark::State& state)
{
    buildSection<ScheduleSettingsView>(state, true);
}

void BM_ExportSettingsFile(benchmark::State& state)
{
    World& w = world();
    const QString path = w.dir.filePath(QStringLiteral("export.json"));
    for (auto _ : state) {
        if (!TremlorSettingsDocument::exportTo(path, w.settings))
            state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void BM_ImportSettingsFile(benchmark::State& state)
{
    World& w = world();
    const QString path = w.dir.filePath(QStringLiteral("import.json"));
    TremlorSettingsDocument::exportTo(path, w.settings);
    // A second store, so each import replaces different lists (as a real import does).
    UserDefaults defaults(w.dir.filePath(QStringLiteral("other")));
    TremlorSettings other(defaults);
    for (auto _ : state) {
        state.PauseTiming();
        other.setProfiles({});
        other.setScheduleEntries({});
        state.ResumeTiming();
        if (!TremlorSettingsDocument::importFrom(path, other))
            state.SkipWithError("import failed");
    }
}

} // namespace

BENCHMARK(BM_BuildProfilesSection)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildScheduleSection)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildProfilesSectionAllRows)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_BuildScheduleSectionAllRows)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportSettingsFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSettingsFile)->Unit(benchmark::kMillisecond);

#include <QElapsedTimer>

#include <cstdio>
template <typename View> void probe(const char* name)
{
    World& w = world();
    QElapsedTimer t;
    t.start();
    auto view = std::make_unique<View>(w.context);
    const qint64 made = t.nsecsElapsed();
    view->resize(520, 500);
    view->show();
    const qint64 shown = t.nsecsElapsed();
    QApplication::processEvents();
    const qint64 done = t.nsecsElapsed();
    std::printf("%s: construct %.1f ms, show %.1f ms, events %.1f ms\n", name, made / 1e6, (shown - made) / 1e6,
        (done - shown) / 1e6);
}
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("PROBE")) {
        QApplication app(argc, argv);
        for (int i = 0; i < 3; ++i) {
            probe<ProfilesSettingsView>("profiles");
            probe<ScheduleSettingsView>("schedule");
        }
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
