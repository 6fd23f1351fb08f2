#include "Engine/TremlorEngine.h"

#include "Engine/AppActivator.h"
#include "Engine/CaffeineManaging.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/DurationTimerProtocol.h"
#include "Engine/IdleDetector.h"
#include "Engine/MouseMoverProtocol.h"
#include "Engine/ProfileManaging.h"
#include "Engine/ScheduleManaging.h"
#include "Helpers/AccessibilityChecking.h"
#include "Models/SettingDefaults.h"
#include "Models/TremlorSettings.h"
#include "Platform/Clock.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Platform/SoundPlayer.h"

#include <QFileInfo>
#include <QPointer>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace tremlor {

namespace {

// A setting that is not finite reads as its default; std::max(NaN, 1.0) would stay NaN.
double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

template <typename T> T required(T service, const char* name)
{
    if (!service)
        throw std::invalid_argument(std::string("TremlorEngine needs a ") + name);
    return service;
}

} // namespace

TremlorEngine::TremlorEngine(TremlorSettings& settings, Services services, QObject* parent)
    : TremlorEngineProtocol(parent)
    , m_settings(settings)
    , m_mouseMover(required(std::move(services.mouseMover), "mouse mover"))
    , m_appActivator(required(std::move(services.appActivator), "application activator"))
    , m_durationTimer(required(std::move(services.durationTimer), "duration timer"))
    , m_idleDetector(required(std::move(services.idleDetector), "idle detector"))
    , m_caffeineManager(required(std::move(services.caffeineManager), "caffeine manager"))
    , m_scheduleManager(required(std::move(services.scheduleManager), "schedule manager"))
    , m_profileManager(required(std::move(services.profileManager), "profile manager"))
    , m_accessibilityChecker(required(std::move(services.accessibilityChecker), "accessibility checker"))
    , m_notificationCenter(required(std::move(services.notificationCenter), "notification center"))
    , m_soundPlayer(required(std::move(services.soundPlayer), "sound player"))
    , m_appLookup(required(std::move(services.appLookup), "application lookup"))
    , m_runningFromApplicationBundle(services.runningFromApplicationBundle)
    , m_clock(services.clock ? std::move(services.clock)
                             : std::shared_ptr<const Clock>(&SystemClock::instance(), [](const Clock*) {}))
{
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
    beginMonitoringRun();
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

    m_caffeineWasOn = m_settings.caffeineEnabled();
    if (m_caffeineWasOn)
        requestCaffeine();

    if (m_settings.smartIdleEnabled()) {
        const double threshold = finiteOr(m_settings.idleThreshold(), defaults::idleThreshold);
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
    const double maxInterval = std::clamp(finiteOr(m_settings.maxInterval(), defaults::maxInterval),
        defaults::shortestInterval, defaults::longestInterval);
    const double distance = std::clamp(finiteOr(m_settings.jiggleDistance(), defaults::jiggleDistance),
        defaults::shortestDistance, defaults::longestDistance);
    m_mouseMover->start(maxInterval, distance, m_settings.movementPattern(), m_settings.simulateKeyboard(),
        m_settings.simulateClicks());
}

void TremlorEngine::stop(bool dueToExpiry)
{
    if (!m_isActive)
        return;

    ++m_session;
    beginRun();
    beginMonitoringRun();
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
    m_heldSwitch.reset();
    m_appActivator->cancelWaiting();
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
