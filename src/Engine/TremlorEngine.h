#pragma once

#include "Engine/TremlorEngineProtocol.h"
#include "Models/AppInfo.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tremlor {

class AccessibilityChecking;
class AppActivator;
class CaffeineManaging;
class Clock;
class DurationTimerProtocol;
class IdleMonitoring;
class MouseMoverProtocol;
class NotificationCenter;
class ProfileManaging;
class ScheduleManaging;
class SoundPlayer;
class TremlorSettings;
struct ScheduleEntry;

// The one object that starts and stops a session, drives its services and publishes the session
// state. Main thread only: every callback of a service reaches it through a queued call.
class TremlorEngine final : public TremlorEngineProtocol {
    Q_OBJECT

public:
    // Resolves a selected bundle identifier into an application record; nothing when no
    // application entry is found.
    using AppLookup = std::function<std::optional<AppInfo>(const QString& bundleIdentifier)>;

    // Every service the engine drives, chosen by the composition root; each one is required.
    struct Services {
        std::shared_ptr<MouseMoverProtocol> mouseMover;
        std::shared_ptr<AppActivator> appActivator;
        std::shared_ptr<DurationTimerProtocol> durationTimer;
        std::shared_ptr<IdleMonitoring> idleDetector;
        std::shared_ptr<CaffeineManaging> caffeineManager;
        std::shared_ptr<ScheduleManaging> scheduleManager;
        std::shared_ptr<ProfileManaging> profileManager;
        std::shared_ptr<AccessibilityChecking> accessibilityChecker;
        std::shared_ptr<NotificationCenter> notificationCenter;
        std::shared_ptr<SoundPlayer> soundPlayer;
        AppLookup appLookup;
        // Whether this is the real program: expiry notifications are sent only then.
        bool runningFromApplicationBundle = false;
        // Paces the caffeine retries; the system clock when none is given.
        std::shared_ptr<const Clock> clock = nullptr;
    };

    // A refused caffeine pair is asked for again at a settings change at most this often.
    static constexpr std::chrono::seconds caffeineRetryInterval { 30 };

    // Throws std::invalid_argument when a service is missing.
    TremlorEngine(TremlorSettings& settings, Services services, QObject* parent = nullptr);
    ~TremlorEngine() override;
    Q_DISABLE_COPY_MOVE(TremlorEngine)

    bool isActive() const override { return m_isActive; }
    bool isPausedByIdle() const override { return m_isPausedByIdle; }
    QString remainingTimeString() const override { return m_remainingTimeString; }
    QString currentAppName() const override { return m_currentAppName; }
    QString nextAppName() const override { return m_nextAppName; }

    double sessionProgress() const override;
    bool isIndefinite() const override;
    double remainingSeconds() const override;

    void start(const Duration& duration) override;
    void stop(bool dueToExpiry) override;

    // While held, no application is brought forward or launched (raising one would take the
    // keyboard from the panel and close it), not even by a switch already under way. The
    // switches that fall due meanwhile wait, and the release runs one of them; a stop or pause
    // drops it.
    void setAppSwitchingHeld(bool held);

    ScheduleManaging& scheduleManager() const { return *m_scheduleManager; }
    ProfileManaging& profileManager() const { return *m_profileManager; }

    // The texts of the expiry notification.
    static QString expiryTitle() { return QStringLiteral("Tremlor"); }
    static QString expiryBody() { return QStringLiteral("Timer has expired. Tremlor has stopped."); }
    // The executable that counts as the real program.
    static bool isApplicationExecutable(const QString& filePath);

private:
    // Session (TremlorEngine.cpp).
    void startMouseMover();
    void sendExpiryNotification();
    void playToggleSound();
    void setActive(bool value);
    void setPausedByIdle(bool value);
    void setRemainingTimeString(const QString& value);
    void setCurrentAppName(const QString& value);
    void setNextAppName(const QString& value);

    // Reactions (TremlorEngineReactions.cpp).
    void setupIdleDetectorCallback();
    void observeDurationTimer();
    void observeCaffeineSetting();
    void wireScheduleManager();
    void handleIdleStateChanged(bool userIsIdle, std::uint64_t monitoring);
    void beginMonitoringRun();
    void installRotationCallback();
    void handleJiggle(std::uint64_t run);
    void startAppSwitching();
    void activateNextApp(std::uint64_t run);
    std::vector<AppInfo> resolveSelectedApps() const;
    void updateNextAppName(const std::vector<AppInfo>& apps);
    void alignCaffeineWithSetting();
    void requestCaffeine();
    void handleScheduleActivation(const ScheduleEntry& entry);
    void handleScheduleDeactivation();
    void updateScheduleEntries();
    // Whether work queued for run `run` may still act: the same run of an active session
    // that is not paused.
    bool isCurrentRun(std::uint64_t run) const;
    // Starts a new run of the session (start, pause, resume, stop): work queued for an earlier
    // run is dropped.
    void beginRun();

    TremlorSettings& m_settings;

    bool m_isActive = false;
    bool m_isPausedByIdle = false;
    QString m_remainingTimeString;
    QString m_currentAppName;
    QString m_nextAppName;

    std::shared_ptr<MouseMoverProtocol> m_mouseMover;
    std::shared_ptr<AppActivator> m_appActivator;
    std::shared_ptr<DurationTimerProtocol> m_durationTimer;
    std::shared_ptr<IdleMonitoring> m_idleDetector;
    std::shared_ptr<CaffeineManaging> m_caffeineManager;
    std::shared_ptr<ScheduleManaging> m_scheduleManager;
    std::shared_ptr<ProfileManaging> m_profileManager;
    std::shared_ptr<AccessibilityChecking> m_accessibilityChecker;
    std::shared_ptr<NotificationCenter> m_notificationCenter;
    std::shared_ptr<SoundPlayer> m_soundPlayer;
    AppLookup m_appLookup;
    bool m_runningFromApplicationBundle = false;
    std::shared_ptr<const Clock> m_clock;

    // The caffeine setting as last seen during this session, and when the pair was last asked for.
    bool m_caffeineWasOn = false;
    std::optional<std::chrono::steady_clock::time_point> m_lastCaffeineRequest;
    bool m_appSwitchingHeld = false;
    // The run whose switch fell due while held; nothing when none waits.
    std::optional<std::uint64_t> m_heldSwitch;

    std::int64_t m_jigglesSinceLastSwitch = 0;
    bool m_scheduledBySchedule = false;
    bool m_hasPromptedForAccessibility = false;
    // Bumped by every start and stop: a queued expiry of an earlier session is stale.
    std::uint64_t m_session = 0;
    // Bumped by start, pause, resume and stop: rotation work of an earlier run is stale.
    std::uint64_t m_run = 0;
    // Bumped by every start and stop, read by the monitor's thread when it reports: a report
    // of an earlier monitoring run is stale.
    std::shared_ptr<std::atomic<std::uint64_t>> m_monitoringRun = std::make_shared<std::atomic<std::uint64_t>>(0);

    QMetaObject::Connection m_timerCancellable;
    QMetaObject::Connection m_caffeineCancellable;
    QMetaObject::Connection m_scheduleCancellable;
};

} // namespace tremlor
