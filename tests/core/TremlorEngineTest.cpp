#include "CompositionRoot.h"
#include "Helpers/AppScanning.h"
#include "core/EngineFixture.h"
#include "support/EnvGuard.h"

#include <QRegularExpression>
#include <QThread>

#include <limits>

using namespace tremlor;
using namespace tremlor::testing;

TEST_F(EngineTest, StartDrivesEveryServiceOnceAndASecondStartChangesNothing)
{
    settings->setCaffeineEnabled(true);
    settings->setSmartIdleEnabled(true);
    settings->setIdleThreshold(12.0);
    settings->setPlaySoundOnToggle(true);
    makeEngine();

    EXPECT_CALL(*sound, play(QString("Pop"))).Times(1);
    EXPECT_CALL(*idle, startMonitoring(12.0)).Times(1);
    engine->start(Duration::minutes15());

    EXPECT_TRUE(engine->isActive());
    EXPECT_FALSE(mover->isStopped());
    EXPECT_TRUE(timer->isRunning());
    EXPECT_TRUE(inhibits.held());
    EXPECT_TRUE(logged("ENGINE: smartIdle ENABLED threshold=12s simKB=Y simClicks=N"));
    fireTicks(1);

    engine->start(Duration::hours1());
    EXPECT_EQ(timer->remainingSeconds(), 899.0);
    EXPECT_EQ(timer->totalSeconds(), 900.0);
}

TEST_F(EngineTest, StopReleasesEverythingAlsoWhilePausedAndStopWhileIdleDoesNothing)
{
    settings->setPlaySoundOnToggle(true);
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    makeEngine();

    EXPECT_CALL(*sound, play(_)).Times(0);
    engine->stop(false);
    ::testing::Mock::VerifyAndClearExpectations(sound.get());

    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));
    EXPECT_EQ(engine->nextAppName(), "Beta");

    idle->report(false);
    settle();
    ASSERT_TRUE(engine->isPausedByIdle());

    EXPECT_CALL(*sound, play(QString("Pop"))).Times(1);
    EXPECT_CALL(*idle, stopMonitoring()).Times(1);
    engine->stop(false);
    EXPECT_FALSE(engine->isActive());
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_EQ(engine->remainingTimeString() + engine->currentAppName() + engine->nextAppName(), ""); // all cleared
    EXPECT_TRUE(mover->isStopped());
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(activator->rotationIndex(), 0);
    settle();
    EXPECT_EQ(engine->remainingTimeString(), "");
}

// Only an expiry of the real program with the setting on notifies, once the permission is
// granted, with a fresh identifier each time; a stop from the panel or a stale expiry never does.
// On the way, the elapsed fraction: none before a start or without an end, a third, then all.
TEST_F(EngineTest, ExpiryNotifiesOnlyWithTheSettingTheProgramAndThePermission)
{
    struct Case {
        bool fromProgram, setting, granted;
        int requests, deliveries;
    };
    std::vector<QString> identifiers;
    for (const Case& c : { Case { true, true, true, 1, 1 }, Case { true, true, true, 1, 1 },
             Case { false, true, true, 0, 0 }, Case { true, false, true, 0, 0 }, Case { true, true, false, 1, 0 } }) {
        settings->setNotifyOnExpiry(c.setting);
        notifications->grants = c.granted;
        makeEngine(c.fromProgram);
        EXPECT_EQ(engine->sessionProgress(), 0.0);
        EXPECT_CALL(*notifications, requestAuthorization(_)).Times(c.requests);
        ON_CALL(*notifications, deliver).WillByDefault([&](const QString&, const QString&, const QString& id) {
            identifiers.push_back(id);
        });
        EXPECT_CALL(*notifications, deliver(QString("Tremlor"), QString("Timer has expired. Tremlor has stopped."), _))
            .Times(c.deliveries);
        engine->start(Duration::custom(1));
        fireTicks(20);
        EXPECT_DOUBLE_EQ(engine->sessionProgress(), 1.0 / 3.0);
        fireTicks(40);
        settle();
        EXPECT_FALSE(engine->isActive());
        EXPECT_DOUBLE_EQ(engine->sessionProgress(), 1.0);
        engine->start(Duration::custom(1));
        engine->stop(false);
        settle();
        ::testing::Mock::VerifyAndClearExpectations(notifications.get());
    }
    // An expiry still queued when its session is replaced neither stops nor notifies.
    EXPECT_CALL(*notifications, requestAuthorization(_)).Times(0);
    engine->start(Duration::custom(1));
    fireTicks(60);
    engine->stop(false);
    engine->start(Duration::hours1());
    settle();
    EXPECT_TRUE(engine->isActive());
    EXPECT_EQ(engine->remainingTimeString(), "1:00:00");
    ASSERT_EQ(identifiers.size(), 2u);
    const QRegularExpression uuid("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    EXPECT_TRUE(uuid.match(identifiers[0]).hasMatch()) << identifiers[0].toStdString();
    EXPECT_NE(identifiers[0], identifiers[1]);
    engine->stop(false);
    engine->start(Duration::indefinite());
    EXPECT_EQ(engine->sessionProgress(), 0.0);
}

// Through the real caffeine manager and pair: off and on again during a session takes both
// inhibits again, and a stop gives them back whatever the setting says by then.
TEST_F(EngineTest, CaffeineFollowsTheSettingOnlyDuringASession)
{
    makeEngine();
    EXPECT_CALL(*sound, play(_)).Times(0); // the sound is off,
    EXPECT_CALL(*idle, startMonitoring(_)).Times(0); // and so is smart idle detection
    const auto set = [&](bool on) {
        settings->setCaffeineEnabled(on);
        settle();
        return inhibits.held();
    };
    EXPECT_FALSE(set(true));
    settings->setCaffeineEnabled(false);
    engine->start(Duration::hours1());
    EXPECT_FALSE(inhibits.held());
    for (const bool on : { true, false, true })
        EXPECT_EQ(set(on), on);
    settings->setCaffeineEnabled(false);
    engine->stop(false);
    EXPECT_FALSE(inhibits.display->held || inhibits.idle->held);
    // The change's task runs after the session ended: nothing is taken with no session.
    engine->start(Duration::hours1());
    settings->setCaffeineEnabled(true);
    engine->stop(false);
    settle();
    EXPECT_FALSE(inhibits.display->held || inhibits.idle->held);
}

// A pair one service refuses for good is asked for again at a settings change (each slider step) at
// most every 30 s, not to flip the other half each time; at once when caffeine is turned on.
TEST_F(EngineTest, ARefusedCaffeinePairIsAskedForAgainAtMostEveryThirtySeconds)
{
    inhibits.idle->answersAtOnce = false;
    settings->setCaffeineEnabled(true);
    makeEngine();
    engine->start(Duration::hours1());
    auto askedAfter = [&, interval = 30.0](int seconds) mutable {
        clock->advance(std::chrono::seconds(seconds));
        settings->setMaxInterval(++interval);
        settle();
        return inhibits.display->asked;
    };
    for (const auto& [seconds, asked] : { std::pair { 0, 1 }, { 29, 1 }, { 1, 2 }, { 0, 2 } })
        EXPECT_EQ(askedAfter(seconds), asked) << "after " << seconds << " s";
    for (const bool on : { false, true }) {
        settings->setCaffeineEnabled(on);
        settle();
    }
    EXPECT_EQ(inhibits.display->asked, 3);
    inhibits.idle->answersAtOnce = true;
    EXPECT_EQ(askedAfter(30), 4);
    EXPECT_EQ(askedAfter(60), 4); // granted at the retry, and kept
}

TEST_F(EngineTest, UnusableMovementSettingsReachTheMoverAsUsableOnes)
{
    struct Case {
        double maxInterval, distance, idleThreshold;
        double interval, reach, threshold;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases { { 0.2, 0.5, 5.0, 1.0, 1.0, 5.0 }, { nan, nan, nan, 30.0, 3.0, 30.0 },
        { inf, -inf, inf, 30.0, 3.0, 30.0 }, { 10.0, 6.0, 45.0, 10.0, 6.0, 45.0 },
        { 1e300, 1e300, 60.0, 300.0, 50.0, 60.0 } }; // an imported number moves as its slider shows it
    makeEngine();
    settings->setSmartIdleEnabled(true);
    settings->setMovementPattern(MovementPattern::circle);
    settings->setSimulateKeyboard(false);
    settings->setSimulateClicks(true);
    for (const Case& c : cases) {
        settings->setMaxInterval(c.maxInterval);
        settings->setJiggleDistance(c.distance);
        settings->setIdleThreshold(c.idleThreshold);
        EXPECT_CALL(*idle, startMonitoring(c.threshold)).Times(1);
        engine->start(Duration::hours1());
        EXPECT_EQ(mover->starts.back().maxInterval, c.interval) << c.maxInterval;
        EXPECT_EQ(mover->starts.back().distance, c.reach) << c.distance;
        EXPECT_TRUE(mover->starts.back().pattern == MovementPattern::circle && mover->starts.back().clicks
            && !mover->starts.back().keyboard);
        engine->stop(false);
        ::testing::Mock::VerifyAndClearExpectations(idle.get());
    }
}

// Untrusted input, a refused inhibit and applications that neither run nor launch: the session
// still runs, and access is asked for once per run, not at every start.
TEST_F(EngineTest, ASessionStillStartsAndStopsWhenEveryServiceFails)
{
    ON_CALL(*accessibility, isTrusted()).WillByDefault(::testing::Return(false));
    EXPECT_CALL(*accessibility, requestAccess(true)).Times(1);
    inhibits.display->answersAtOnce = false;
    ON_CALL(*workspace, isAppRunning(_)).WillByDefault(::testing::Return(false));
    ON_CALL(*workspace, launchApp(_)).WillByDefault(::testing::Return(QtFuture::makeReadyFuture(false)));
    settings->setCaffeineEnabled(true);
    settings->setLaunchIfNotRunning(false);
    settings->setSelectedAppBundleIDs({ "a" });
    makeEngine();

    engine->start(Duration::minutes15());
    EXPECT_TRUE(engine->isActive());
    EXPECT_FALSE(inhibits.idle->held);
    mover->jiggle();
    settle();
    QThread::msleep(20);
    settle();
    EXPECT_EQ(engine->currentAppName(), "");
    engine->stop(false);
    EXPECT_FALSE(engine->isActive());
    EXPECT_TRUE(mover->isStopped());
    engine->start(Duration::minutes15());
    EXPECT_TRUE(engine->isActive());
}

TEST_F(EngineTest, IdleReportsPauseAndResumeAndStaleMovementsBringNothingForward)
{
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    makeEngine();
    engine->start(Duration::minutes15());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));

    idle->report(false);
    settle();
    EXPECT_TRUE(engine->isPausedByIdle());
    EXPECT_TRUE(mover->isStopped());
    EXPECT_TRUE(timer->isPaused());
    EXPECT_TRUE(logged(QString::fromUtf8("ENGINE: user active → PAUSE jiggling")));
    fireTicks(3);
    EXPECT_EQ(timer->remainingSeconds(), 900.0);

    idle->report(true);
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());
    EXPECT_TRUE(logged(QString::fromUtf8("ENGINE: user idle → RESUME jiggling")));
    // The next application comes forward at once; the countdown goes on from where it stood.
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Beta"; }));
    fireTicks(1);
    EXPECT_EQ(timer->remainingSeconds(), 899.0);
    mover->jiggle(); // and movements rotate again
    EXPECT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));

    engine->stop(false);
    idle->report(false);
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_TRUE(logged(QString::fromUtf8("callback ignored — engine not active")));

    // A report queued before a stop and a new start does not pause the new session.
    engine->start(Duration::minutes15());
    idle->report(false); // posted to the main thread, not yet delivered
    engine->stop(false);
    engine->start(Duration::minutes15());
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());

    // A movement reported after a stop brings nothing forward (the mover's last report arrives
    // after it), nor one reported after a pause.
    ASSERT_TRUE(waitFor([&] { return !engine->currentAppName().isEmpty(); }));
    engine->stop(false);
    const int base = activationCount();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == base + 1; }));
    mover->jiggle();
    engine->stop(false);
    settle();
    EXPECT_EQ(activator->rotationIndex(), 0);
    EXPECT_EQ(engine->currentAppName(), "");

    // Pause: the report of the user's activity is handled before the movement's.
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == base + 2; }));
    idle->report(false);
    mover->jiggle();
    settle();
    ASSERT_TRUE(engine->isPausedByIdle());
    EXPECT_EQ(activator->rotationIndex(), 1);
    EXPECT_EQ(engine->currentAppName(), "Alpha");
    engine->stop(false);

    // An activation under way when the session stops writes no names afterwards.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> entered { false };
    ON_CALL(*workspace, isAppRunning(_)).WillByDefault([&](const QString&) {
        entered = true;
        released.wait();
        return true;
    });
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return entered.load(); }));
    engine->stop(false);
    release.set_value();
    settle();
    QThread::msleep(20);
    settle();
    EXPECT_EQ(engine->currentAppName() + engine->nextAppName(), "");
}

TEST_F(EngineTest, RotationBringsTheNextApplicationForwardEveryNthMovement)
{
    settings->setSelectedAppBundleIDs({ "a", "gone", "b", "g" }); // what is not installed is skipped
    settings->setAppSwitchInterval(3);
    makeEngine();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));
    EXPECT_EQ(engine->nextAppName(), "Beta");

    const auto switches = [&] {
        const int before = activator->rotationIndex();
        mover->jiggle();
        settle();
        return activator->rotationIndex() != before;
    };
    std::vector<int> switchedAfter;
    for (int movement = 1; movement <= 9; ++movement) {
        if (switches())
            switchedAfter.push_back(movement);
    }
    EXPECT_EQ(switchedAfter, (std::vector<int> { 3, 6, 9 }));
    for (const std::int64_t interval : { std::int64_t(0), std::int64_t(-4) }) {
        settings->setAppSwitchInterval(interval);
        EXPECT_TRUE(switches() && switches()) << interval;
    }
    settings->setRotationMode(RotationMode::random); // draws without moving the rotation on
    EXPECT_FALSE(switches() || switches());
}

// Held switching (the panel open) brings nothing forward; the release makes one switch for all due.
// While held, a stop drops the waiting switch and a start makes its first at the release.
TEST_F(EngineTest, HeldSwitchingWaitsAndItsReleaseSwitchesOnce)
{
    settings->setSelectedAppBundleIDs({ "a", "b", "g" });
    settings->setAppSwitchInterval(1);
    makeEngine();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 1; }));
    const auto drain = [&] { settle(), QThread::msleep(20), settle(); }; // the activator's queue too
    engine->setAppSwitchingHeld(true);
    mover->jiggle();
    mover->jiggle();
    drain();
    EXPECT_EQ(activationCount(), 1);
    engine->setAppSwitchingHeld(false);
    EXPECT_TRUE(waitFor([&] { return engine->currentAppName() == "Beta"; }));
    drain();
    EXPECT_EQ(activationCount(), 2);
    engine->setAppSwitchingHeld(true);
    mover->jiggle();
    engine->stop(false);
    engine->setAppSwitchingHeld(false);
    drain();
    EXPECT_EQ(activationCount(), 2);
    engine->setAppSwitchingHeld(true);
    engine->start(Duration::hours1());
    drain();
    EXPECT_EQ(activationCount(), 2);
    engine->setAppSwitchingHeld(false);
    EXPECT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));
    // A switch already under way waits for the hold's end too; a pause, then a stop, drops it.
    for (const bool pause : { true, false }) {
        engine->setAppSwitchingHeld(true);
        auto underWay = activator->activateNext({ installed["b"] }, RotationMode::sequential, false);
        drain();
        EXPECT_FALSE(underWay.isFinished());
        pause ? idle->report(false) : engine->stop(false);
        EXPECT_TRUE(waitFor([&] { return underWay.isFinished() && !underWay.result(); }));
        engine->setAppSwitchingHeld(false);
    }
}

// After every switch, not only the first, the next name is the first selected application other
// than the current one: in turn, and where random draws pick them.
TEST_F(EngineTest, NextApplicationIsNamedAfterEverySwitch)
{
    settings->setSelectedAppBundleIDs({ "a", "b", "g" });
    struct Switch {
        int draw;
        QString current, next;
    };
    const std::vector<Switch> inTurn { { 0, "Alpha", "Beta" }, { 0, "Beta", "Alpha" }, { 0, "Gamma", "Alpha" },
        { 0, "Alpha", "Beta" } };
    const std::vector<Switch> drawn { { 2, "Gamma", "Alpha" }, { 1, "Beta", "Alpha" }, { 2, "Gamma", "Alpha" },
        { 0, "Alpha", "Beta" } };
    for (const auto& [mode, switches] :
        { std::pair { RotationMode::sequential, inTurn }, { RotationMode::random, drawn } }) {
        settings->setRotationMode(mode);
        makeEngine();
        for (std::size_t i = 0; i < switches.size(); ++i) {
            draws.pinInt(0, 2, switches[i].draw);
            if (i == 0)
                engine->start(Duration::hours1()); // the first comes with the start
            else
                mover->jiggle();
            ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == switches[i].current; })) << i;
            EXPECT_EQ(engine->nextAppName(), switches[i].next) << rawValue(mode).toStdString() << " switch " << i;
        }
        engine->stop(false);
    }
}

// The profile applied and the session ended with its window are proved on a real desktop
// (EngineOnDesktop.ScheduledSessionAtLaunchDrivesTheDesktopAndEndsWithItsWindow); here the
// duration, which is the default one and never the profile's, a profile gone meanwhile, and
// which sessions a window's end stops.
TEST_F(EngineTest, ScheduleStopsOnlyTheSessionItStartedWhichRunsForTheDefaultDuration)
{
    const Profile profile { .id = QUuid::createUuid(),
        .name = {},
        .selectedAppBundleIDs = {},
        .maxInterval = 5.0,
        .duration = Duration::hours8() };
    settings->setProfiles({ profile });
    const ScheduleEntry entry = windowAroundNow(-60, 60, profile.id);
    settings->setScheduleEntries({ entry });
    EXPECT_CALL(*schedule, start(std::vector<ScheduleEntry> { entry }, _, _)).Times(1);
    EXPECT_CALL(*schedule, updateEntries(std::vector<ScheduleEntry> { entry })).Times(1);
    makeEngine();
    settle();

    for (const auto& [profiles, durationId, seconds] : { std::tuple { QList { profile }, "custom_45", 45.0 * 60.0 },
             std::tuple { QList<Profile> {}, "1h", 3600.0 } }) {
        settings->setProfiles(profiles);
        settings->setDefaultDurationId(durationId);
        schedule->activate(entry);
        settle();
        ASSERT_TRUE(engine->isActive());
        EXPECT_EQ(timer->totalSeconds(), seconds);
        EXPECT_EQ(mover->starts.back().maxInterval, 5.0); // the profile's, applied the first time
        schedule->deactivate();
        settle();
        EXPECT_FALSE(engine->isActive());
    }

    // The schedule forgot the session it stopped: a panel session, left alone by a window that
    // opens during it, outlives the window's end.
    engine->start(Duration::minutes15());
    schedule->activate(entry);
    settle();
    EXPECT_EQ(timer->totalSeconds(), 900.0);
    schedule->deactivate();
    settle();
    EXPECT_TRUE(engine->isActive());
    engine->stop(false);

    // Schedule-started, stopped from the panel: the mark stays, so the next end of a window
    // stops whatever runs then.
    schedule->activate(entry);
    settle();
    ASSERT_TRUE(engine->isActive());
    engine->stop(false);
    engine->start(Duration::minutes15());
    schedule->deactivate();
    settle();
    EXPECT_FALSE(engine->isActive());
}

// The manager runs only while there are entries: a first entry added after a launch with none
// starts it once (even when more changes follow in the same turn), and later changes update it.
TEST_F(EngineTest, ScheduleManagerStartsWithTheFirstEntryAndThenFollowsChanges)
{
    makeEngine();
    settle();
    ::testing::Mock::VerifyAndClearExpectations(schedule.get());

    const ScheduleEntry first = windowAroundNow(-60, 60);
    EXPECT_CALL(*schedule, start(std::vector<ScheduleEntry> { first }, _, _)).Times(1);
    settings->setScheduleEntries({ first, first });
    settings->setScheduleEntries({ first });
    settle();
    ::testing::Mock::VerifyAndClearExpectations(schedule.get());

    ScheduleEntry second = windowAroundNow(-60, 60);
    second.isEnabled = false;
    EXPECT_CALL(*schedule, start(_, _, _)).Times(0);
    EXPECT_CALL(*schedule, updateEntries(std::vector<ScheduleEntry> { first, second })).Times(1);
    settings->setScheduleEntries({ first, second });
    settle();
}

TEST(CompositionRootServices, BuildsTheSystemServicesAndRunsWithoutDisplayOrBuses)
{
    // Nothing to talk to: no X display and buses that do not exist.
    const EnvGuard env { "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS" };
    qunsetenv("DISPLAY");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-session");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-system");
    QTemporaryDir dir;
    UserDefaults defaults(dir.path());
    TremlorSettings settings(defaults);
    settings.setCaffeineEnabled(true);
    settings.setSmartIdleEnabled(true);
    settings.setSelectedAppBundleIDs({ "org.example.Missing" });
    CompositionRoot root(settings, {});
    EXPECT_FALSE(root.accessibility().isTrusted());
    EXPECT_TRUE(root.appScannerFactory()());
    TremlorEngine& engine = root.engine();
    engine.start(Duration::minutes15());
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(engine.remainingTimeString(), "15:00");
    engine.stop(false);
}
