#include "CompositionRoot.h"

#include "Engine/AppActivator.h"
#include "Engine/CaffeineManager.h"
#include "Engine/DurationTimer.h"
#include "Engine/IdleDetector.h"
#include "Engine/MouseMover.h"
#include "Engine/ProfileManager.h"
#include "Engine/ScheduleManager.h"
#include "Engine/SystemAppActivator.h"
#include "Helpers/AccessibilityHelper.h"
#include "Helpers/AppListProvider.h"
#include "Helpers/LaunchAtLogin.h"
#include "Models/TremlorSettings.h"
#include "Platform/DBus/DBusNotificationCenter.h"
#include "Platform/DBus/SystemSleepPreventer.h"
#include "Platform/Sound/CanberraSoundPlayer.h"
#include "Platform/X11/SystemMouseMover.h"
#include "Platform/X11/X11InputIdleSource.h"
#include "Platform/Xdg/DesktopEntryLookup.h"

#include <QCoreApplication>

namespace tremlor {

namespace {

// The given service, else the system's, made only when needed.
template <typename T, typename Make> void orSystem(T& service, Make make)
{
    if (!service)
        service = make();
}

// Fills in the system's service for every one not given, in the order of the fields.
TremlorEngine::Services withSystemServices(
    TremlorSettings& settings, CompositionRoot::Services& given, std::shared_ptr<AccessibilityChecking>& accessibility)
{
    TremlorEngine::Services s = std::move(given.engine);
    orSystem(s.mouseMover, [] { return std::make_shared<MouseMover>(std::make_shared<SystemMouseMover>()); });
    orSystem(s.appActivator, [] { return std::make_shared<AppActivator>(std::make_shared<SystemAppActivator>()); });
    orSystem(s.durationTimer, [] { return std::make_shared<DurationTimer>(); });
    orSystem(s.idleDetector,
        [] { return std::make_shared<SystemIdleMonitor>(std::make_shared<x11::X11InputIdleSource>()); });
    orSystem(
        s.caffeineManager, [] { return std::make_shared<CaffeineManager>(std::make_shared<SystemSleepPreventer>()); });
    orSystem(s.scheduleManager, [] { return std::make_shared<ScheduleManager>(); });
    orSystem(s.profileManager, [&] { return std::make_shared<ProfileManager>(settings); });
    orSystem(s.accessibilityChecker, [] { return std::make_shared<AccessibilityHelper>(); });
    orSystem(s.notificationCenter, [] { return std::make_shared<DBusNotificationCenter>(); });
    orSystem(s.soundPlayer, [] { return std::make_shared<CanberraSoundPlayer>(); });
    orSystem(s.appLookup, [] {
        return TremlorEngine::AppLookup(
            [lookup = xdg::DesktopEntryLookup()](const QString& id) { return AppInfo::installed(id, lookup); });
    });
    s.runningFromApplicationBundle = given.runningFromApplicationBundle.value_or(
        TremlorEngine::isApplicationExecutable(QCoreApplication::applicationFilePath()));
    orSystem(given.appScannerFactory,
        [] { return CompositionRoot::AppScannerFactory([] { return std::make_unique<AppListProvider>(); }); });
    orSystem(given.loginItem, [] { return std::make_shared<LaunchAtLogin>(); });
    accessibility = s.accessibilityChecker;
    return s;
}

} // namespace

CompositionRoot::CompositionRoot(QObject* parent)
    // Every service is the system's. A schedule window that is open now is reported during
    // this step, but its session starts from the event loop, after it.
    : CompositionRoot(TremlorSettings::shared(), Services {}, parent)
{
}

CompositionRoot::CompositionRoot(TremlorSettings& settings, Services services, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
{
    auto engineServices = withSystemServices(m_settings, services, m_accessibility);
    m_appScannerFactory = std::move(services.appScannerFactory);
    m_loginItem = std::move(services.loginItem);
    m_engine = std::make_unique<TremlorEngine>(m_settings, std::move(engineServices));
}

CompositionRoot::~CompositionRoot() = default;

} // namespace tremlor
