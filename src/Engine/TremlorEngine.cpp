#include "Engine/TremlorEngine.h"

#include "Engine/AppActivator.h"
#include "Engine/CaffeineManager.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/DurationTimer.h"
#include "Engine/IdleDetector.h"
#include "Engine/MouseMover.h"
#include "Engine/ProfileManager.h"
#include "Engine/ScheduleManager.h"
#include "Engine/SystemAppActivator.h"
#include "Helpers/AccessibilityHelper.h"
#include "Models/TremlorSettings.h"
#include "Platform/DBus/DBusNotificationCenter.h"
#include "Platform/DBus/SystemSleepPreventer.h"
#include "Platform/Dispatch.h"
#include "Platform/Sound/CanberraSoundPlayer.h"
#include "Platform/X11/SystemMouseMover.h"
#include "Platform/Xdg/DesktopEntryLookup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>

#include <algorithm>
#include <cmath>

namespace tremlor {

namespace {

// The engine's own accessibility checker: the same trust rule as the helper's (the display
// offers XTest and XInput2), and no prompt on X11.
class SystemAccessibilityChecker final : public AccessibilityChecking {
public:
    bool isTrusted() const override { return m_helper.isTrusted(); }
    bool requestAccess(bool prompt) override { return m_helper.requestAccess(prompt); }

private:
    AccessibilityHelper m_helper;
};

// A setting that is not finite reads as its default; std::max(NaN, 1.0) would stay NaN.
double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

constexpr double defaultMaxInterval = 30.0;
constexpr double defaultJiggleDistance = 3.0;
constexpr double defaultIdleThreshold = 30.0;

} // namespace

TremlorEngine::TremlorEngine(TremlorSettings& settings, QObject* parent)
    : TremlorEngine(settings, Services {}, parent)
{
}

TremlorEngine::TremlorEngine(TremlorSettings& settings, Services services, QObject* parent)
    : TremlorEngineProtocol(parent)
    , m_settings(settings)
{
    // The system defaults, in this order, for every service that was not given.
    m_mouseMover = services.mouseMover ? std::move(services.mouseMover)
                                       : std::make_shared<MouseMover>(std::make_shared<SystemMouseMover>());
    m_appActivator = services.appActivator ? std::move(services.appActivator)
                                           : std::make_shared<AppActivator>(std::make_shared<SystemAppActivator>());
    m_durationTimer = services.durationTimer ? std::move(services.durationTimer) : std::make_shared<DurationTimer>();
    m_idleDetector = services.idleDetector ? std::move(services.idleDetector) : std::make_shared<SystemIdleMonitor>();
    m_caffeineManager = services.caffeineManager
        ? std::move(services.caffeineManager)
        : std::make_shared<CaffeineManager>(std::make_shared<SystemSleepPreventer>());
    m_scheduleManager
        = services.scheduleManager ? std::move(services.scheduleManager) : std::make_shared<ScheduleManager>();
    m_profileManager
        = services.profileManager ? std::move(services.profileManager) : std::make_shared<ProfileManager>(settings);
    m_accessibilityChecker = services.accessibilityChecker ? std::move(services.accessibilityChecker)
                                                           : std::make_shared<SystemAccessibilityChecker>();
    m_notificationCenter = services.notificationCenter ? std::move(services.notificationCenter)
                                                       : std::make_shared<DBusNotificationCenter>();
    m_soundPlayer = services.soundPlayer ? std::move(services.soundPlayer) : std::make_shared<CanberraSoundPlayer>();
    if (services.appLookup) {
        m_appLookup = std::move(services.appLookup);
    } else {
        m_appLookup = [lookup = xdg::DesktopEntryLookup()](const QString& id) { return lookup.appInfo(id); };
    }
    m_runningFromApplicationBundle = services.runningFromApplicationBundle.value_or(
        isApplicationExecutable(QCoreApplication::applicationFilePath()));

    setupIdleDetectorCallback();
    observeDurationTimer();
    observeCaffeineSetting();
    wireScheduleManager();
}

TremlorEngine::~TremlorEngine()
{
    // Callbacks held by services outlive nothing of ours: they reach the engine only through a
    // weak reference, but drop them anyway so no service calls into a half-destroyed engine.
    m_mouseMover->setOnJiggle({});
    m_idleDetector->setOnIdleStateChanged({});
}

bool TremlorEngine::isApplicationExecutable(const QString& filePath)
{
    return QFileInfo(filePath).fileName() == QLatin1String("tremlor");
}

double TremlorEngine::sessionProgress() const
{
    if (m_durationTimer->isIndefinite())
        return 0.0;
    const double total = m_durationTimer->totalSeconds();
    if (!(total > 0.0))
        return 0.0;
    const double fraction = (total - m_durationTimer->remainingSeconds()) / total;
    if (std::isnan(fraction))
        return 0.0;
    return std::clamp(fraction, 0.0, 1.0);
}

bool TremlorEngine::isIndefinite() const
{
    return m_durationTimer->isIndefinite();
}

double TremlorEngine::remainingSeconds() const
{
    return m_durationTimer->remainingSeconds();
}

void TremlorEngine::start(const Duration& duration)
{
    if (m_isActive)
        return;

    if (!m_accessibilityChecker->isTrusted() && !m_hasPromptedForAccessibility) {
        m_hasPromptedForAccessibility = true;
        m_accessibilityChecker->requestAccess(true);
    }

    ++m_session;
    beginRun();
    setActive(true);
    setPausedByIdle(false);

    if (m_settings.playSoundOnToggle())
        playToggleSound();

    startMouseMover();

    const QPointer<TremlorEngine> self(this);
    const std::uint64_t session = m_session;
    m_durationTimer->start(
        duration,
        [self, session](double) {
            dispatch::toMain(self, [session](TremlorEngine& engine) {
                if (engine.m_session == session && engine.m_isActive)
                    engine.setRemainingTimeString(engine.m_durationTimer->formattedTimeRemaining());
            });
        },
        [self, session] {
            // Only the session that expired may be stopped by it, never the one after it.
            dispatch::toMain(self, [session](TremlorEngine& engine) {
                if (engine.m_session == session)
                    engine.stop(true);
            });
        });
    Q_EMIT countdownChanged();

    if (m_settings.caffeineEnabled())
        m_caffeineManager->enable();

    if (m_settings.smartIdleEnabled()) {
        const double threshold = finiteOr(m_settings.idleThreshold(), defaultIdleThreshold);
        DirazUvuraLogger::engineEnabled(threshold, m_settings.simulateKeyboard(), m_settings.simulateClicks());
        m_idleDetector->startMonitoring(threshold);
    } else {
        DirazUvuraLogger::engineDisabled();
    }

    startAppSwitching();
    installRotationCallback();
}

void TremlorEngine::startMouseMover()
{
    const double maxInterval = std::max(finiteOr(m_settings.maxInterval(), defaultMaxInterval), 1.0);
    const double distance = std::max(finiteOr(m_settings.jiggleDistance(), defaultJiggleDistance), 1.0);
    m_mouseMover->start(maxInterval, distance, m_settings.movementPattern(), m_settings.simulateKeyboard(),
        m_settings.simulateClicks());
}

void TremlorEngine::stop(bool dueToExpiry)
{
    if (!m_isActive)
        return;

    ++m_session;
    beginRun();
    setActive(false);
    setPausedByIdle(false);
    setRemainingTimeString(QString());
    setCurrentAppName(QString());
    setNextAppName(QString());

    m_mouseMover->stop();
    m_durationTimer->stop();
    m_idleDetector->stopMonitoring();
    m_caffeineManager->disable();
    m_mouseMover->setOnJiggle({});
    m_jigglesSinceLastSwitch = 0;
    m_appActivator->reset();

    if (m_settings.playSoundOnToggle())
        playToggleSound();

    if (dueToExpiry && m_settings.notifyOnExpiry() && m_runningFromApplicationBundle)
        sendExpiryNotification();
}

void TremlorEngine::sendExpiryNotification()
{
    // Asked at every expiry; the completion touches only the center and the new request.
    std::weak_ptr<NotificationCenter> center = m_notificationCenter;
    m_notificationCenter->requestAuthorization([center](bool granted) {
        if (!granted)
            return;
        if (auto strong = center.lock())
            strong->deliver(expiryTitle(), expiryBody(), QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    });
}

void TremlorEngine::playToggleSound()
{
    m_soundPlayer->play(QStringLiteral("Pop"));
}

void TremlorEngine::beginRun()
{
    ++m_run;
}

bool TremlorEngine::isCurrentRun(std::uint64_t run) const
{
    return run == m_run && m_isActive && !m_isPausedByIdle;
}

void TremlorEngine::setActive(bool value)
{
    if (m_isActive == value)
        return;
    m_isActive = value;
    Q_EMIT isActiveChanged(value);
}

void TremlorEngine::setPausedByIdle(bool value)
{
    if (m_isPausedByIdle == value)
        return;
    m_isPausedByIdle = value;
    Q_EMIT isPausedByIdleChanged(value);
}

void TremlorEngine::setRemainingTimeString(const QString& value)
{
    if (m_remainingTimeString == value)
        return;
    m_remainingTimeString = value;
    Q_EMIT remainingTimeStringChanged(value);
}

void TremlorEngine::setCurrentAppName(const QString& value)
{
    if (m_currentAppName == value)
        return;
    m_currentAppName = value;
    Q_EMIT currentAppNameChanged(value);
}

void TremlorEngine::setNextAppName(const QString& value)
{
    if (m_nextAppName == value)
        return;
    m_nextAppName = value;
    Q_EMIT nextAppNameChanged(value);
}

} // namespace tremlor
