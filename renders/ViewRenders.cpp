#include "App/TremlorGlyphIcon.h"
#include "Engine/TremlorEngineProtocol.h"
#include "Helpers/AccessibilityChecking.h"
#include "Helpers/AppListProvider.h"
#include "Helpers/LoginItemManaging.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Models/TremlorSettings.h"
#include "Platform/Clock.h"
#include "Platform/Json.h"
#include "Platform/UserDefaults.h"
#include "RenderFolder.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/CompactAppRow.h"
#include "Views/Popover/CompactAppSummary.h"
#include "Views/Popover/PopoverExpandedContent.h"
#include "Views/Popover/ProfilePickerView.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "Views/Settings/ScheduleEntryRow.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsWindow.h"
#include "Views/Shared/ViewSymbols.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <memory>

// The program's views over a store in a private folder and stand-ins for the engine and the
// desktop's services, in the states a person wants to look at.
namespace renders {
namespace {
using namespace tremlor;

// The engine as the panel sees it: the values of a session set by hand, with their signals.
class StillEngine final : public TremlorEngineProtocol {
public:
    bool isActive() const override { return active; }
    bool isPausedByIdle() const override { return paused; }
    QString remainingTimeString() const override { return timeText; }
    QString currentAppName() const override { return {}; }
    QString nextAppName() const override { return nextApp; }
    double sessionProgress() const override { return progress; }
    bool isIndefinite() const override { return indefinite; }
    double remainingSeconds() const override { return remaining; }
    void start(const Duration&) override { }
    void stop(bool) override { }

    void run(double seconds, double fraction, const QString& text, bool pausedByIdle = false)
    {
        active = true;
        paused = pausedByIdle;
        remaining = seconds;
        progress = fraction;
        timeText = text;
        Q_EMIT isActiveChanged(true);
        Q_EMIT isPausedByIdleChanged(paused);
        Q_EMIT remainingTimeStringChanged(text);
        Q_EMIT countdownChanged();
    }

    bool active = false;
    bool paused = false;
    bool indefinite = false;
    QString timeText;
    QString nextApp;
    double progress = 0;
    double remaining = 0;
};

struct ListScanner final : AppScanning {
    explicit ListScanner(QList<AppInfo> list = {})
        : apps(std::move(list))
    {
    }
    QList<AppInfo> scanInstalledApps() override { return apps; }
    QList<AppInfo> apps;
};

struct Trust final : AccessibilityChecking {
    bool isTrusted() const override { return trusted; }
    bool requestAccess(bool) override { return trusted; }
    bool trusted = true;
};

struct LoginItem final : LoginItemManaging {
    bool isEnabled() const override { return enabled; }
    void setEnabled(bool value) override { enabled = value; }
    bool enabled = false;
};

struct FixedClock final : Clock {
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 14), QTime(9, 30)); }
    std::chrono::steady_clock::time_point monotonicNow() const override { return {}; }
};

// A store over a private domain, fresh for each group of renders.
struct Store {
    QTemporaryDir dir;
    UserDefaults defaults { dir.path() };
    TremlorSettings settings { defaults };
};

// The installed applications with their real icons (the offscreen session names no icon theme).
QList<AppInfo> installedApps()
{
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() + QStringList { QStringLiteral("/usr/share/icons") });
    QIcon::setThemeName(QStringLiteral("hicolor"));
    return AppListProvider(QStringList { QStringLiteral("/usr/share/applications") }).scanInstalledApps();
}

Profile named(const QString& name, double interval, MovementPattern pattern, QStringList apps = {})
{
    Profile p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.maxInterval = interval;
    p.movementPattern = pattern;
    p.selectedAppBundleIDs = std::move(apps);
    return p;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
}

// A view in the panel's 320-point width and 16-point padding.
struct PanelFrame {
    QWidget panel;
    explicit PanelFrame(QWidget* content)
    {
        auto* layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(16, 16, 16, 16);
        layout->addWidget(content);
        panel.setFixedWidth(320);
    }
};

// The panel idle with its options open, then running, paused and without an end.
void renderPanel(RenderFolder& folder)
{
    Store store;
    StillEngine engine;
    store.settings.setPopoverExpanded(true);
    store.settings.setSelectedAppBundleIDs(
        { QStringLiteral("org.example.Mail"), QStringLiteral("org.example.Firefox") });
    const auto someApps = [] {
        QList<AppInfo> apps;
        for (const char* name : { "Firefox", "Mail", "Terminal", "Text Editor" })
            apps << AppInfo(QStringLiteral("org.example.%1").arg(QString::fromUtf8(name).remove(' ')),
                QString::fromUtf8(name), QStringLiteral("/nonexistent/%1.desktop").arg(QString::fromUtf8(name)));
        return std::make_unique<ListScanner>(apps);
    };
    TremlorPopoverView panel(store.settings, engine, someApps);
    panel.setGlyphLookup(&TremlorGlyphIcon::named);
    panel.show();
    settle();
    folder.save(panel, QStringLiteral("popover-idle"));
    store.settings.setPopoverExpanded(false);
    engine.nextApp = QStringLiteral("Firefox");
    engine.run(2537, 0.3, QStringLiteral("42:17"));
    settle();
    folder.save(panel, QStringLiteral("popover-running"));
    engine.run(42, 0.99, QStringLiteral("0:42"), true);
    settle();
    folder.save(panel, QStringLiteral("popover-paused"));
    engine.indefinite = true;
    engine.run(0, 0, QStringLiteral("∞"));
    settle();
    folder.save(panel, QStringLiteral("popover-indefinite"));
}

// The panel's parts with the installed applications: the options, the summary, the picker.
void renderPanelParts(RenderFolder& folder)
{
    Store store;
    StillEngine engine;
    const QList<AppInfo> installed = installedApps();
    ListScanner scanner(installed);
    Profile focus = store.settings.captureAsProfile(QStringLiteral("Focus"));
    focus.maxInterval = 30;
    focus.duration = Duration::hours1();
    store.settings.setProfiles({ focus, named(QStringLiteral("Home"), 60, MovementPattern::natural) });
    store.settings.setActiveProfileId(json::uuidText(focus.id));
    settle();
    QStringList chosen;
    for (const AppInfo& app : installed.mid(0, 2))
        chosen << app.bundleIdentifier();
    store.settings.setSelectedAppBundleIDs(chosen);

    auto* content = new PopoverExpandedContent(store.settings, engine, scanner);
    content->setInstalledApps(installed);
    if (!chosen.isEmpty())
        content->row(chosen.first())->setRunning(true, false); // no window runs offscreen: shown as one would
    PanelFrame expanded(content);
    expanded.panel.show();
    settle();
    folder.save(expanded.panel, QStringLiteral("expanded-content"));
    content->setAppSearchText(QStringLiteral("no such app"));
    settle(); // layouts follow the list through posted requests
    folder.save(expanded.panel, QStringLiteral("expanded-content-empty"));

    PanelFrame summary(new CompactAppSummary(installed, 5, 16));
    folder.save(summary.panel, QStringLiteral("compact-app-summary"));

    ProfilePickerView picker(store.settings);
    picker.resize(288, picker.sizeHint().height());
    folder.save(picker, QStringLiteral("profile-picker"));
}

// Every settings section, empty and filled, the search and the Advanced section untrusted.
void renderSettings(RenderFolder& folder)
{
    Store store;
    Trust trust;
    LoginItem loginItem;
    FixedClock clock;
    const QList<AppInfo> apps
        = { AppInfo("org.gnome.Calculator", "Calculator", {}), AppInfo("org.gnome.TextEditor", "Text Editor", {}),
              AppInfo("firefox", "Firefox", {}), AppInfo("org.kde.kate", "Kate", {}) };
    SettingsContext context { store.settings, [&apps] { return std::make_unique<ListScanner>(apps); }, trust, loginItem,
        clock };
    // The About section shows the icon the build renders beside the program, as the app sets it.
    QApplication::setWindowIcon(TremlorGlyphIcon::appIcon(QCoreApplication::applicationDirPath() + "/.."));
    const auto render = [&](SettingsSection section, const QString& suffix) {
        SettingsWindow window(context, section);
        if (section == SettingsSection::schedule && !store.settings.scheduleEntries().isEmpty()) // one row opened
            static_cast<ScheduleSettingsView*>(window.detailView())
                ->row(store.settings.scheduleEntries()[0].id)
                ->disclosure()
                ->click();
        window.show();
        QCoreApplication::processEvents();
        folder.save(window, QStringLiteral("settings-") + rawValue(section) + suffix);
    };
    for (SettingsSection section : { SettingsSection::profiles, SettingsSection::schedule })
        render(section, QStringLiteral("-empty"));

    const Profile work = named("Work", 30, MovementPattern::bounce, { "firefox", "org.gnome.Calculator" });
    store.settings.setProfiles({ work, named("Presentation", 12.5, MovementPattern::natural, { "libreoffice" }),
        named("Reading", 120, MovementPattern::drift) });
    store.settings.applyProfile(work);
    store.settings.setSelectedAppBundleIDs({ "firefox", "org.kde.kate" });
    ScheduleEntry weekdays = ScheduleSettingsView::newEntry();
    weekdays.profileId = work.id;
    ScheduleEntry weekend = ScheduleSettingsView::newEntry();
    weekend.days = { Weekday::saturday, Weekday::sunday };
    weekend.isEnabled = false;
    weekend.startTime = DateComponents::time(10, 30);
    weekend.endTime = DateComponents::time(14, 0);
    store.settings.setScheduleEntries({ weekdays, weekend });
    for (SettingsSection section : allCases<SettingsSection>())
        render(section, QString());
    SettingsWindow searching(context, SettingsSection::general, QStringLiteral("sched"));
    searching.show();
    QCoreApplication::processEvents();
    folder.save(searching, QStringLiteral("settings-search"));
    trust.trusted = false;
    render(SettingsSection::advanced, QStringLiteral("-denied"));
    QApplication::setWindowIcon(QIcon());
}

// The four onboarding pages, at rest (motion is reduced, so pages swap at once).
void renderOnboarding(RenderFolder& folder)
{
    Store store;
    Trust trust;
    trust.trusted = false;
    OnboardingWindow window(store.settings, trust, {});
    window.show();
    for (int step = 0; step < 4; ++step) {
        folder.save(window, QStringLiteral("onboarding-step%1").arg(step));
        window.shell().findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
        settle(); // the page transition starts on the next turn
    }
}

// Every view symbol at the sizes the views draw it.
class ContactSheet final : public QWidget {
public:
    static constexpr int columns = 2;
    static constexpr int cellWidth = 250;
    static constexpr int cellHeight = 64;
    static constexpr int sizes[] = { 9, 12, 16, 24, 40 };

    QSize sizeHint() const override
    {
        const int rows = int((ViewSymbols::names().size() + columns - 1) / columns);
        return { columns * cellWidth, rows * cellHeight };
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = kestu::Color::text().resolve(this);
        const QStringList& names = ViewSymbols::names();
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QPoint origin(int(i % columns) * cellWidth + 8, int(i / columns) * cellHeight + 4);
            int x = origin.x();
            for (const int size : sizes) {
                kestu::KestuSymbols::paint(p, QRectF(x, origin.y(), size, 40), names[i], size, ink);
                x += size + 8;
            }
            p.setPen(kestu::Color::textSecondary().resolve(this));
            p.setFont(kestu::Font::tag());
            p.drawText(QRect(origin.x(), origin.y() + 42, cellWidth - 12, 16), Qt::AlignLeft,
                p.fontMetrics().elidedText(names[i], Qt::ElideMiddle, cellWidth - 12));
        }
    }
};

void renderSymbols(RenderFolder& folder)
{
    QWidget host; // a child is not held to two thirds of the screen as a window would be
    auto* sheet = new ContactSheet;
    sheet->setParent(&host);
    folder.save(*sheet, QStringLiteral("view-symbols"));
}
} // namespace

void renderViews(RenderFolder& folder)
{
    kestu::setReducedMotionOverride(true);
    ViewSymbols::registerAll();
    // The header shows the glyphs the build renders beside the programs, as the app registers them.
    TremlorGlyphIcon::setFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/../glyphs"));
    TremlorGlyphIcon::registerAllOnce();
    renderPanel(folder);
    renderPanelParts(folder);
    renderSettings(folder);
    renderOnboarding(folder);
    renderSymbols(folder);
    kestu::setReducedMotionOverride(std::nullopt);
}

} // namespace renders
