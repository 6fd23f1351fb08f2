// The engine's reactions to what happens while the program runs: the idle monitor's reports,
// every movement of the mover, the countdown, the settings store and the weekly schedule.

#include "Engine/AppActivator.h"
#include "Engine/CaffeineManaging.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/DurationTimerProtocol.h"
#include "Engine/IdleDetector.h"
#include "Engine/MouseMoverProtocol.h"
#include "Engine/ScheduleManaging.h"
#include "Engine/TremlorEngine.h"
#include "Models/ScheduleEntry.h"
#include "Models/TremlorSettings.h"
#include "Platform/Dispatch.h"

#include <QFuture>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace tremlor {

namespace {

std::vector<ScheduleEntry> toVector(const QList<ScheduleEntry>& entries)
{
    return std::vector<ScheduleEntry>(entries.begin(), entries.end());
}

} // namespace

void TremlorEngine::setupIdleDetectorCallback()
{
    const QPointer<TremlorEngine> self(this);
    m_idleDetector->setOnIdleStateChanged([self, runs = m_monitoringRun](bool userIsIdle) {
        const std::uint64_t monitoring = runs->load();
        dispatch::toMain(self,
            [userIsIdle, monitoring](TremlorEngine& engine) { engine.handleIdleStateChanged(userIsIdle, monitoring); });
    });
}

void TremlorEngine::beginMonitoringRun()
{
    ++*m_monitoringRun;
}

void TremlorEngine::handleIdleStateChanged(bool userIsIdle, std::uint64_t monitoring)
{
    // A report still queued from before a stop (and maybe a new start) belongs to a run that
    // has ended: it must not pause the new one.
    if (!m_isActive || monitoring != m_monitoringRun->load()) {
        DirazUvuraLogger::callbackIgnored();
        return;
    }
    setPausedByIdle(!userIsIdle);
    beginRun();
    if (!userIsIdle) {
        DirazUvuraLogger::userActive();
        m_durationTimer->pause();
        m_mouseMover->stop();
        m_mouseMover->setOnJiggle({});
        m_jigglesSinceLastSwitch = 0;
        m_appActivator->cancelWaiting();
    } else {
        DirazUvuraLogger::userIdle();
        m_durationTimer->resume();
        startMouseMover();
        startAppSwitching();
        installRotationCallback();
    }
}

void TremlorEngine::installRotationCallback()
{
    // Tied to this run: the mover reports one more movement after a stop, and that report
    // must neither count nor bring an application forward.
    const QPointer<TremlorEngine> self(this);
    const std::uint64_t run = m_run;
    m_mouseMover->setOnJiggle(
        [self, run] { dispatch::toMain(self, [run](TremlorEngine& engine) { engine.handleJiggle(run); }); });
}

void TremlorEngine::handleJiggle(std::uint64_t run)
{
    if (!isCurrentRun(run))
        return;
    ++m_jigglesSinceLastSwitch;
    const std::int64_t interval = std::max<std::int64_t>(m_settings.appSwitchInterval(), 1);
    if (m_jigglesSinceLastSwitch >= interval) {
        m_jigglesSinceLastSwitch = 0;
        activateNextApp(run);
    }
}

void TremlorEngine::startAppSwitching()
{
    if (resolveSelectedApps().empty())
        return;
    m_jigglesSinceLastSwitch = 0;
    const std::uint64_t run = m_run;
    dispatch::async(this, [this, run] { activateNextApp(run); });
}

void TremlorEngine::setAppSwitchingHeld(bool held)
{
    if (m_appSwitchingHeld == held)
        return;
    m_appSwitchingHeld = held;
    // A switch already under way waits too: its window would close the panel all the same.
    m_appActivator->setHeld(held);
    if (held || !m_heldSwitch)
        return;
    // One switch for all that fell due; posted, so whatever released the hold finishes first.
    const std::uint64_t run = *std::exchange(m_heldSwitch, std::nullopt);
    dispatch::async(this, [this, run] { activateNextApp(run); });
}

void TremlorEngine::activateNextApp(std::uint64_t run)
{
    // Checked when the task starts and again when the activation is done: an application is
    // never brought forward, nor its name shown, for a session that stopped or paused.
    if (!isCurrentRun(run))
        return;
    if (m_appSwitchingHeld) {
        m_heldSwitch = run;
        return;
    }
    const std::vector<AppInfo> apps = resolveSelectedApps();
    if (apps.empty())
        return;
    const RotationMode mode = m_settings.rotationMode();
    const bool launchIfNotRunning = m_settings.launchIfNotRunning();
    const QPointer<TremlorEngine> self(this);
    // The activation finishes on the activator's queue, possibly while the engine is going
    // away: hop through the main queue with a weak reference rather than posting to the engine.
    m_appActivator->activateNext(apps, mode, launchIfNotRunning)
        .then(QtFuture::Launch::Sync, [self, run, apps](const std::optional<AppInfo>& activated) {
            dispatch::toMain(self, [run, apps, activated](TremlorEngine& engine) {
                if (!activated || !engine.isCurrentRun(run))
                    return;
                engine.setCurrentAppName(activated->name());
                engine.updateNextAppName(apps);
            });
        });
}

std::vector<AppInfo> TremlorEngine::resolveSelectedApps() const
{
    std::vector<AppInfo> apps;
    const QStringList ids = m_settings.selectedAppBundleIDs();
    for (const QString& id : ids) {
        if (std::optional<AppInfo> app = m_appLookup(id))
            apps.push_back(std::move(*app));
    }
    return apps;
}

void TremlorEngine::updateNextAppName(const std::vector<AppInfo>& apps)
{
    if (apps.size() < 2) {
        setNextAppName(QString());
        return;
    }
    const auto next
        = std::find_if(apps.begin(), apps.end(), [this](const AppInfo& app) { return app.name() != m_currentAppName; });
    setNextAppName(next == apps.end() ? QString() : next->name());
}

void TremlorEngine::observeDurationTimer()
{
    DurationTimerProtocol* timer = m_durationTimer.get();
    auto update = [this] {
        setRemainingTimeString(m_durationTimer->formattedTimeRemaining());
        Q_EMIT countdownChanged();
    };
    // Delivered on the main queue; a change announced before a stop is not written after it.
    m_timerCancellable = connect(timer, &DurationTimerProtocol::remainingSecondsChanged, this, [this, update] {
        dispatch::async(this, [this, update, session = m_session] {
            if (session == m_session)
                update();
        });
    });
    // The current value arrives too, and asynchronously like every later one.
    dispatch::async(this, update);
}

void TremlorEngine::observeCaffeineSetting()
{
    // The announcement comes before the store: the queued task reads the new values.
    m_caffeineCancellable = connect(&m_settings, &TremlorSettings::objectWillChange, this, [this] {
        if (!m_isActive)
            return;
        dispatch::async(this, [this] { alignCaffeineWithSetting(); });
    });
}

void TremlorEngine::alignCaffeineWithSetting()
{
    // The session may have ended between the announcement and this task.
    if (!m_isActive)
        return;
    // Not held means refused, lost or still asked for: enable() asks again only in the first
    // two cases. Off also abandons a request that has not been answered yet.
    const bool wanted = m_settings.caffeineEnabled();
    const bool turnedOn = wanted && !m_caffeineWasOn;
    m_caffeineWasOn = wanted;
    if (!wanted) {
        m_caffeineManager->disable();
        return;
    }
    if (m_caffeineManager->isEnabled())
        return;
    // A service that refuses for good would see the other half taken and given straight back at
    // every change (each slider step): ask again only now and then, unless just turned on.
    if (turnedOn || !m_lastCaffeineRequest || m_clock->monotonicNow() - *m_lastCaffeineRequest >= caffeineRetryInterval)
        requestCaffeine();
}

void TremlorEngine::requestCaffeine()
{
    m_lastCaffeineRequest = m_clock->monotonicNow();
    m_caffeineManager->enable();
}

void TremlorEngine::wireScheduleManager()
{
    const QList<ScheduleEntry> entries = m_settings.scheduleEntries();
    // With no entries the manager stays off (no minute tick) until the first entry is added.
    // Disconnected as the signal arrives, not in a queued call: two changes in one turn would
    // otherwise queue two calls, and the manager would start twice.
    if (entries.isEmpty()) {
        m_scheduleCancellable = connect(&m_settings, &TremlorSettings::scheduleEntriesChanged, this, [this] {
            if (m_settings.scheduleEntries().isEmpty())
                return;
            disconnect(m_scheduleCancellable);
            dispatch::async(this, [this] { wireScheduleManager(); });
        });
        return;
    }

    const QPointer<TremlorEngine> self(this);
    m_scheduleManager->start(
        toVector(entries),
        [self](const ScheduleEntry& entry) {
            dispatch::toMain(self, [entry](TremlorEngine& engine) { engine.handleScheduleActivation(entry); });
        },
        [self] { dispatch::toMain(self, [](TremlorEngine& engine) { engine.handleScheduleDeactivation(); }); });

    m_scheduleCancellable = connect(
        &m_settings, &TremlorSettings::scheduleEntriesChanged, this, [this] { updateScheduleEntries(); },
        Qt::QueuedConnection);
    dispatch::async(this, [this] { updateScheduleEntries(); });
}

void TremlorEngine::updateScheduleEntries()
{
    m_scheduleManager->updateEntries(toVector(m_settings.scheduleEntries()));
}

void TremlorEngine::handleScheduleActivation(const ScheduleEntry& entry)
{
    // A running session, whoever started it, is left alone and not marked.
    if (m_isActive)
        return;
    if (entry.profileId) {
        const QList<Profile> profiles = m_settings.profiles();
        const auto profile = std::find_if(
            profiles.begin(), profiles.end(), [&](const Profile& p) { return p.id == *entry.profileId; });
        if (profile != profiles.end())
            m_settings.applyProfile(*profile);
    }
    m_scheduledBySchedule = true;
    start(Duration::resolve(m_settings.defaultDurationId()));
}

void TremlorEngine::handleScheduleDeactivation()
{
    if (!m_isActive || !m_scheduledBySchedule)
        return;
    m_scheduledBySchedule = false;
    stop(false);
}

} // namespace tremlor
