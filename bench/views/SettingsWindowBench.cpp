// The settings window as the user meets it: selecting a section builds its view anew, lays it out
// and paints it; typing into the Apps checklist's search filters 1,000 applications and repaints
// the list. Prints the median and 95th percentile of each, in milliseconds.
#include "Helpers/AccessibilityChecking.h"
#include "Helpers/LoginItemManaging.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Models/TremlorSettings.h"
#include "Platform/Clock.h"
#include "Platform/UserDefaults.h"
#include "Views/Settings/AppChecklistView.h"
#include "Views/Settings/AppsSettingsView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsWindow.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QListView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

using namespace tremlor;

namespace {
constexpr int appCount = 1000;

struct ListScanner final : AppScanning {
    explicit ListScanner(QList<AppInfo> list)
        : apps(std::move(list))
    {
    }
    QList<AppInfo> scanInstalledApps() override { return apps; }
    QList<AppInfo> apps;
};

struct Login final : LoginItemManaging {
    bool isEnabled() const override { return false; }
    void setEnabled(bool) override { }
};

struct Trust final : AccessibilityChecking {
    bool isTrusted() const override { return true; }
    bool requestAccess(bool) override { return true; }
};

QList<AppInfo> installedApps()
{
    QList<AppInfo> apps;
    for (int i = 0; i < appCount; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        apps << AppInfo(QStringLiteral("org.example.Tool%1").arg(n), QStringLiteral("Tool %1").arg(n), QString());
    }
    return apps;
}

// A store over a throwaway domain, fakes for the services, 1,000 applications.
struct Environment {
    Environment()
        : defaults(dir.path())
        , settings(defaults)
        , apps(installedApps())
        , context { settings, [this] { return std::make_unique<ListScanner>(apps); }, trust, login,
            SystemClock::instance() }
    {
    }
    QTemporaryDir dir;
    UserDefaults defaults;
    TremlorSettings settings;
    QList<AppInfo> apps;
    Trust trust;
    Login login;
    SettingsContext context;
};

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void report(benchmark::State& state, std::vector<double>& samples)
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<std::size_t>(q * double(samples.size() - 1))]; };
    state.counters["median_ms"] = at(0.5);
    state.counters["p95_ms"] = at(0.95);
}

void BM_SelectSection(benchmark::State& state)
{
    Environment env;
    const auto section = static_cast<SettingsSection>(state.range(0));
    SettingsWindow window(
        env.context, section == SettingsSection::general ? SettingsSection::about : SettingsSection::general);
    window.show();
    QImage target(window.size() * 2, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        window.setSelectedSection(section);
        window.layout()->activate();
        window.render(&target);
        samples.push_back(millisecondsSince(start));
    }
    state.SetLabel(rawValue(section).toStdString());
    report(state, samples);
}
BENCHMARK(BM_SelectSection)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_FilterChecklistPerKeystroke(benchmark::State& state)
{
    Environment env;
    AppsSettingsView view(env.context);
    view.resize(520, 500);
    view.show();
    QImage target(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    kestu::KestuTextField* field = view.checklist()->searchField();
    const QStringList typed = { "t", "to", "too", "tool", "tool ", "tool 0", "tool 01", "tool 012", "tool 0123", "org.",
        "org.example.tool09", "" };
    std::vector<double> samples;
    int i = 0;
    for (auto _ : state) {
        const QString text = typed.at(i++ % typed.size());
        const auto start = std::chrono::steady_clock::now();
        field->replaceText(text);
        view.checklist()->list()->viewport()->render(&target);
        samples.push_back(millisecondsSince(start));
    }
    report(state, samples);
}
BENCHMARK(BM_FilterChecklistPerKeystroke)->Unit(benchmark::kMillisecond)->Iterations(240);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kestu::setReducedMotionOverride(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
