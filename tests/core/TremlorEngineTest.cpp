#include "core/EngineTestDoubles.h"

#include "Engine/AppActivator.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/DurationTimer.h"
#include "Engine/MouseMover.h"
#include "Engine/TickSource.h"
#include "Engine/TremlorEngine.h"
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <limits>
#include <map>

using namespace tremlor;
using namespace tremlor::testing;
using ::testing::_;
using ::testing::NiceMock;

namespace {

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        defaults = std::make_unique<UserDefaults>(dir.path());
        settings = std::make_unique<TremlorSettings>(*defaults);

        poster = std::make_shared<NiceMock<MockMouseMoving>>();
        ON_CALL(*poster, moveCursor(_)).WillByDefault([this](QPointF to) {
            std::lock_guard guard(movesLock);
            moves.push_back(to);
        });
        timers = std::make_shared<ManualQueueTimers>();
        workspace = std::make_shared<NiceMock<MockAppActivating>>();
        ON_CALL(*workspace, activateApp(_)).WillByDefault([this](const QString& id) {
            std::lock_guard guard(movesLock);
            activated.push_back(id);
        });
        ticks = std::make_shared<ManualTickSource>();
        idle = std::make_shared<NiceMock<MockIdleMonitor>>();
        caffeine = std::make_shared<NiceMock<MockCaffeine>>();
        schedule = std::make_shared<NiceMock<MockScheduleManager>>();
        accessibility = std::make_shared<NiceMock<MockAccessibility>>();
        ON_CALL(*accessibility, isTrusted()).WillByDefault(::testing::Return(true));
        notifications = std::make_shared<NiceMock<MockNotificationCenter>>();
        sound = std::make_shared<NiceMock<MockSoundPlayer>>();

        DirazUvuraLogger::setSink([this](DirazUvuraLogger::Level, const QString& message) {
            std::lock_guard guard(movesLock);
            log.push_back(message);
        });
    }

    void TearDown() override
    {
        engine.reset();
        DirazUvuraLogger::setSink({});
    }

    void install(const QString& id, const QString& name)
    {
        installed[id] = AppInfo(id, name, QStringLiteral("/usr/share/applications/") + id + QStringLiteral(".desktop"));
    }

    void makeEngine(bool fromProgram = true)
    {
        engine.reset();
        Seams seams;
        seams.random = std::make_shared<HighRandom>();
        seams.sleep = [](std::chrono::microseconds) {};
        seams.timers = timers;
        mover = std::make_shared<MouseMover>(poster, seams);
        activator = std::make_shared<AppActivator>(workspace);
        timer = std::make_shared<DurationTimer>(ticks);

        TremlorEngine::Services services;
        services.mouseMover = mover;
        services.appActivator = activator;
        services.durationTimer = timer;
        services.idleDetector = idle;
        services.caffeineManager = caffeine;
        services.scheduleManager = schedule;
        services.accessibilityChecker = accessibility;
        services.notificationCenter = notifications;
        services.soundPlayer = sound;
        services.appLookup = [this](const QString& id) -> std::optional<AppInfo> {
            const auto found = installed.find(id);
            if (found == installed.end())
                return std::nullopt;
            return found->second;
        };
        services.runningFromApplicationBundle = fromProgram;
        engine = std::make_unique<TremlorEngine>(*settings, std::move(services));
    }

    // Runs the main queue until nothing more is posted by the engine or its services.
    void settle()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }

    // Runs the main queue until pred holds (work crosses the activator's queue), at most 2 s.
    template <typename Pred>
    bool waitFor(Pred pred)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!pred()) {
            if (elapsed.elapsed() > 2000)
                return false;
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        return true;
    }

    // One movement of the mover on its own queue; its report is queued to the main thread.
    void moveOnce()
    {
        mover->waitUntilIdle();
        timers->fire();
    }

    void fireTicks(int count)
    {
        for (int i = 0; i < count; ++i)
            ticks->fire();
    }

    int activationCount()
    {
        std::lock_guard guard(movesLock);
        return static_cast<int>(activated.size());
    }

    bool logged(const QString& message)
    {
        std::lock_guard guard(movesLock);
        return std::find(log.begin(), log.end(), message) != log.end();
    }

    double largestMoveX()
    {
        std::lock_guard guard(movesLock);
        double x = -std::numeric_limits<double>::infinity();
        for (const QPointF& p : moves)
            x = std::max(x, p.x());
        return x;
    }

    using Seams = MouseMover::Seams;

    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<TremlorSettings> settings;
    std::shared_ptr<NiceMock<MockMouseMoving>> poster;
    std::shared_ptr<ManualQueueTimers> timers;
    std::shared_ptr<MouseMover> mover;
    std::shared_ptr<NiceMock<MockAppActivating>> workspace;
    std::shared_ptr<AppActivator> activator;
    std::shared_ptr<ManualTickSource> ticks;
    std::shared_ptr<DurationTimer> timer;
    std::shared_ptr<NiceMock<MockIdleMonitor>> idle;
    std::shared_ptr<NiceMock<MockCaffeine>> caffeine;
    std::shared_ptr<NiceMock<MockScheduleManager>> schedule;
    std::shared_ptr<NiceMock<MockAccessibility>> accessibility;
    std::shared_ptr<NiceMock<MockNotificationCenter>> notifications;
    std::shared_ptr<NiceMock<MockSoundPlayer>> sound;
    std::map<QString, AppInfo> installed;

    std::mutex movesLock;
    std::vector<QPointF> moves;
    std::vector<QString> activated;
    std::vector<QString> log;

    std::unique_ptr<TremlorEngine> engine;
};

TEST_F(EngineTest, StartDrivesEveryServiceOnceAndASecondStartChangesNothing)
{
    settings->setCaffeineEnabled(true);
    settings->setSmartIdleEnabled(true);
    settings->setIdleThreshold(12.0);
    settings->setPlaySoundOnToggle(true);
    makeEngine();
    settle();
    EXPECT_EQ(engine->remainingTimeString(), "0:00");

    EXPECT_CALL(*sound, play(QString("Pop"))).Times(1);
    EXPECT_CALL(*idle, startMonitoring(12.0)).Times(1);
    engine->start(Duration::minutes15());

    EXPECT_TRUE(engine->isActive());
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());
    EXPECT_TRUE(timer->isRunning());
    EXPECT_TRUE(caffeine->enabled);
    EXPECT_TRUE(logged("ENGINE: smartIdle ENABLED threshold=12s simKB=Y simClicks=N"));
    settle();
    EXPECT_EQ(engine->remainingTimeString(), "15:00");

    fireTicks(1);
    settle();
    EXPECT_EQ(engine->remainingTimeString(), "14:59");

    engine->start(Duration::hours1());
    EXPECT_EQ(timer->remainingSeconds(), 899.0);
    EXPECT_EQ(timer->totalSeconds(), 900.0);
}

TEST_F(EngineTest, StopReleasesEverythingAlsoWhilePausedAndStopWhileIdleDoesNothing)
{
    settings->setPlaySoundOnToggle(true);
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    install("a", "Alpha");
    install("b", "Beta");
    makeEngine();

    EXPECT_CALL(*sound, play(_)).Times(0);
    EXPECT_CALL(*caffeine, disable()).Times(0);
    engine->stop(false);
    ::testing::Mock::VerifyAndClearExpectations(sound.get());
    ::testing::Mock::VerifyAndClearExpectations(caffeine.get());

    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));
    EXPECT_EQ(engine->nextAppName(), "Beta");

    idle->report(false);
    settle();
    ASSERT_TRUE(engine->isPausedByIdle());

    EXPECT_CALL(*sound, play(QString("Pop"))).Times(1);
    EXPECT_CALL(*caffeine, disable()).Times(1);
    EXPECT_CALL(*idle, stopMonitoring()).Times(1);
    engine->stop(false);
    EXPECT_FALSE(engine->isActive());
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_EQ(engine->remainingTimeString(), "");
    EXPECT_EQ(engine->currentAppName(), "");
    EXPECT_EQ(engine->nextAppName(), "");
    EXPECT_TRUE(mover->isStopped());
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(activator->rotationIndex(), 0);
    settle();
    EXPECT_EQ(engine->remainingTimeString(), "");
}

TEST_F(EngineTest, PromptsForAccessibilityOncePerRunAndStartsAnyway)
{
    ON_CALL(*accessibility, isTrusted()).WillByDefault(::testing::Return(false));
    EXPECT_CALL(*accessibility, requestAccess(true)).Times(1);
    makeEngine();
    engine->start(Duration::hours1());
    EXPECT_TRUE(engine->isActive());
    engine->stop(false);
    engine->start(Duration::hours1());
    EXPECT_TRUE(engine->isActive());
}

TEST_F(EngineTest, ExpiryDeliversOneNotificationWithAFreshIdentifier)
{
    std::vector<QString> identifiers;
    EXPECT_CALL(*notifications, deliver(QString("Tremlor"), QString("Timer has expired. Tremlor has stopped."), _))
        .Times(2)
        .WillRepeatedly([&](const QString&, const QString&, const QString& id) { identifiers.push_back(id); });
    makeEngine();

    for (int session = 0; session < 2; ++session) {
        engine->start(Duration::custom(1));
        fireTicks(60);
        settle();
        EXPECT_FALSE(engine->isActive());
        EXPECT_DOUBLE_EQ(engine->sessionProgress(), 1.0);
    }
    ASSERT_EQ(identifiers.size(), 2u);
    const QRegularExpression uuid("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    EXPECT_TRUE(uuid.match(identifiers[0]).hasMatch()) << identifiers[0].toStdString();
    EXPECT_NE(identifiers[0], identifiers[1]);

    // A stop from the panel never notifies.
    engine->start(Duration::custom(1));
    engine->stop(false);
    settle();
}

TEST_F(EngineTest, NoNotificationWithoutTheSettingTheProgramOrThePermission)
{
    EXPECT_CALL(*notifications, deliver(_, _, _)).Times(0);

    makeEngine(/*fromProgram=*/false);
    EXPECT_CALL(*notifications, requestAuthorization(_)).Times(0);
    engine->start(Duration::custom(1));
    fireTicks(60);
    settle();
    EXPECT_FALSE(engine->isActive());
    ::testing::Mock::VerifyAndClearExpectations(notifications.get());

    makeEngine();
    settings->setNotifyOnExpiry(false);
    EXPECT_CALL(*notifications, requestAuthorization(_)).Times(0);
    engine->start(Duration::custom(1));
    fireTicks(60);
    settle();
    ::testing::Mock::VerifyAndClearExpectations(notifications.get());

    settings->setNotifyOnExpiry(true);
    notifications->grants = false;
    EXPECT_CALL(*notifications, requestAuthorization(_)).Times(1);
    EXPECT_CALL(*notifications, deliver(_, _, _)).Times(0);
    engine->start(Duration::custom(1));
    fireTicks(60);
    settle();
    EXPECT_FALSE(engine->isActive());
}

TEST_F(EngineTest, AStaleExpiryNeverStopsOrNotifiesAboutTheNextSession)
{
    EXPECT_CALL(*notifications, requestAuthorization(_)).Times(0);
    makeEngine();
    engine->start(Duration::custom(1));
    fireTicks(60); // the expiry is queued, not yet handled
    engine->stop(false);
    engine->start(Duration::hours1());
    settle();
    EXPECT_TRUE(engine->isActive());
    EXPECT_EQ(timer->remainingSeconds(), 3600.0);
    EXPECT_EQ(engine->remainingTimeString(), "1:00:00");
}

TEST_F(EngineTest, SessionProgressFollowsTheCountdown)
{
    makeEngine();
    EXPECT_EQ(engine->sessionProgress(), 0.0);

    engine->start(Duration::minutes30());
    fireTicks(900);
    EXPECT_DOUBLE_EQ(engine->sessionProgress(), 0.5);
    EXPECT_EQ(engine->remainingSeconds(), 900.0);
    engine->stop(false);
    EXPECT_DOUBLE_EQ(engine->sessionProgress(), 0.5);

    engine->start(Duration::indefinite());
    fireTicks(5);
    settle();
    EXPECT_TRUE(engine->isIndefinite());
    EXPECT_EQ(engine->sessionProgress(), 0.0);
    EXPECT_EQ(engine->remainingTimeString(), QString::fromUtf8("∞"));
}

TEST_F(EngineTest, CaffeineFollowsTheSettingOnlyDuringASession)
{
    makeEngine();
    settings->setCaffeineEnabled(true);
    settle();
    EXPECT_FALSE(caffeine->enabled);

    settings->setCaffeineEnabled(false);
    engine->start(Duration::hours1());
    EXPECT_FALSE(caffeine->enabled);

    settings->setCaffeineEnabled(true);
    settle();
    EXPECT_TRUE(caffeine->enabled);

    EXPECT_CALL(*caffeine, enable()).Times(0);
    EXPECT_CALL(*caffeine, disable()).Times(0);
    settings->setJiggleDistance(7.0);
    settle();
    ::testing::Mock::VerifyAndClearExpectations(caffeine.get());

    settings->setCaffeineEnabled(false);
    settle();
    EXPECT_FALSE(caffeine->enabled);

    // The change's task runs after the session ended: nothing is taken with no session.
    settings->setCaffeineEnabled(true);
    engine->stop(false);
    settle();
    EXPECT_FALSE(caffeine->enabled);
}

TEST_F(EngineTest, UnusableMovementSettingsReachTheMoverAsUsableOnes)
{
    makeEngine();
    struct Case
    {
        double maxInterval, distance, idleThreshold;
        double delay, reach, threshold;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // The fake random source draws the top of every range: delay = interval × 1.4, a bounce
    // reaches start + distance.
    const std::vector<Case> cases {
        { 0.2, 0.5, 5.0, 1.4, 101.0, 5.0 },
        { -3.0, -8.0, 5.0, 1.4, 101.0, 5.0 },
        { nan, nan, nan, 42.0, 103.0, 30.0 },
        { inf, -inf, inf, 42.0, 103.0, 30.0 },
        { 10.0, 6.0, 45.0, 14.0, 106.0, 45.0 },
    };
    settings->setSmartIdleEnabled(true);
    for (const Case& c : cases) {
        settings->setMaxInterval(c.maxInterval);
        settings->setJiggleDistance(c.distance);
        settings->setIdleThreshold(c.idleThreshold);
        {
            std::lock_guard guard(movesLock);
            moves.clear();
        }
        EXPECT_CALL(*idle, startMonitoring(c.threshold)).Times(1);
        engine->start(Duration::hours1());
        moveOnce();
        ASSERT_FALSE(timers->delays().empty());
        EXPECT_NEAR(timers->delays().front(), c.delay, 1e-9) << c.maxInterval;
        EXPECT_NEAR(largestMoveX(), c.reach, 1e-9) << c.distance;
        engine->stop(false);
        mover->waitUntilIdle();
        timers->fire();
        settle();
        ::testing::Mock::VerifyAndClearExpectations(idle.get());
        timers = std::make_shared<ManualQueueTimers>();
        makeEngine();
    }
}

TEST_F(EngineTest, IdleReportsPauseAndResumeTheSession)
{
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    install("a", "Alpha");
    install("b", "Beta");
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
    mover->waitUntilIdle();
    EXPECT_EQ(timers->armedCount(), 0);

    idle->report(true);
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());
    EXPECT_TRUE(logged(QString::fromUtf8("ENGINE: user idle → RESUME jiggling")));
    // The next application comes forward at once; the countdown goes on from where it stood.
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Beta"; }));
    fireTicks(1);
    EXPECT_EQ(timer->remainingSeconds(), 899.0);

    engine->stop(false);
    idle->report(false);
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_TRUE(logged(QString::fromUtf8("callback ignored — engine not active")));
}

TEST_F(EngineTest, RotationBringsTheNextApplicationForwardEveryNthMovement)
{
    settings->setSelectedAppBundleIDs({ "a", "b", "c" });
    install("a", "Alpha");
    install("b", "Beta");
    install("c", "Gamma");
    settings->setAppSwitchInterval(3);
    makeEngine();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 1; }));

    std::vector<int> switchedAfter;
    for (int movement = 1; movement <= 9; ++movement) {
        const int before = activator->rotationIndex();
        moveOnce();
        settle();
        if (activator->rotationIndex() != before)
            switchedAfter.push_back(movement);
    }
    EXPECT_EQ(switchedAfter, (std::vector<int> { 3, 6, 9 }));

    for (const std::int64_t interval : { std::int64_t(0), std::int64_t(-4) }) {
        settings->setAppSwitchInterval(interval);
        for (int movement = 0; movement < 3; ++movement) {
            const int before = activator->rotationIndex();
            moveOnce();
            settle();
            EXPECT_NE(activator->rotationIndex(), before) << interval;
        }
    }
}

TEST_F(EngineTest, NextAppNameNamesTheFollowingResolvedApplication)
{
    settings->setSelectedAppBundleIDs({ "a", "gone", "b", "c" });
    install("a", "Alpha");
    install("b", "Beta");
    install("c", "Gamma");
    makeEngine();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Alpha"; }));
    EXPECT_EQ(engine->nextAppName(), "Beta");
    moveOnce();
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Beta"; }));
    EXPECT_EQ(engine->nextAppName(), "Alpha");
    engine->stop(false);

    settings->setSelectedAppBundleIDs({ "b" });
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return engine->currentAppName() == "Beta"; }));
    EXPECT_EQ(engine->nextAppName(), "");
}

TEST_F(EngineTest, AMovementReportedAfterAStopOrPauseBringsNothingForward)
{
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    install("a", "Alpha");
    install("b", "Beta");
    makeEngine();

    // Stop: the mover's last report arrives after it.
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 1; }));
    moveOnce();
    engine->stop(false);
    settle();
    EXPECT_EQ(activator->rotationIndex(), 0);
    EXPECT_EQ(engine->currentAppName(), "");

    // Pause: the report of the user's activity is handled before the movement's.
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 2; }));
    idle->report(false);
    moveOnce();
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
    EXPECT_EQ(engine->currentAppName(), "");
    EXPECT_EQ(engine->nextAppName(), "");
}

// Every day, from an hour ago to an hour from now.
ScheduleEntry coveringEntry(std::optional<QUuid> profileId = std::nullopt)
{
    const QTime now = QTime::currentTime();
    const int minute = now.hour() * 60 + now.minute();
    const int start = (minute + 1440 - 60) % 1440;
    const int end = (minute + 60) % 1440;
    ScheduleEntry entry;
    entry.id = QUuid::createUuid();
    entry.isEnabled = true;
    entry.days = { weekday::allCases.begin(), weekday::allCases.end() };
    entry.startTime = DateComponents::time(start / 60, start % 60);
    entry.endTime = DateComponents::time(end / 60, end % 60);
    entry.profileId = profileId;
    return entry;
}

TEST_F(EngineTest, ScheduleStartsWithTheProfileAndTheDefaultDurationAndStopsItsOwnSession)
{
    Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = "Work";
    profile.caffeineEnabled = true;
    profile.maxInterval = 5.0;
    profile.duration = Duration::hours8(); // not applied: the default duration is
    settings->setProfiles({ profile });
    const ScheduleEntry entry = coveringEntry(profile.id);
    settings->setScheduleEntries({ entry });
    settings->setDefaultDurationId("custom_45");

    EXPECT_CALL(*schedule, start(std::vector<ScheduleEntry> { entry }, _, _)).Times(1);
    EXPECT_CALL(*schedule, updateEntries(std::vector<ScheduleEntry> { entry })).Times(1);
    makeEngine();
    settle();

    schedule->activate(entry);
    EXPECT_FALSE(engine->isActive()); // posted, never run inside the callback
    settle();
    ASSERT_TRUE(engine->isActive());
    EXPECT_EQ(settings->activeProfileId(), profile.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(settings->maxInterval(), 5.0);
    EXPECT_TRUE(caffeine->enabled);
    EXPECT_EQ(timer->totalSeconds(), 45.0 * 60.0);

    schedule->deactivate();
    settle();
    EXPECT_FALSE(engine->isActive());
    EXPECT_FALSE(caffeine->enabled);

    // A profile that no longer exists starts with the current settings, one hour by default.
    settings->setProfiles({});
    settings->setDefaultDurationId("1h");
    schedule->activate(entry);
    settle();
    EXPECT_TRUE(engine->isActive());
    EXPECT_EQ(timer->totalSeconds(), 3600.0);
}

TEST_F(EngineTest, ScheduleNeverStopsAPanelSessionUnlessItStartedTheOneBefore)
{
    const ScheduleEntry entry = coveringEntry();
    settings->setScheduleEntries({ entry });
    makeEngine();
    settle();

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

TEST_F(EngineTest, AWindowOpenAtLaunchStartsTheSessionOnlyAfterConstruction)
{
    const ScheduleEntry entry = coveringEntry();
    settings->setScheduleEntries({ entry });
    // The manager reports an open window from inside its start, as the real one does.
    ON_CALL(*schedule, start(_, _, _))
        .WillByDefault([](const std::vector<ScheduleEntry>& entries, ScheduleManaging::ActivateCallback activate,
                          ScheduleManaging::DeactivateCallback) { activate(entries.front()); });
    makeEngine();
    EXPECT_FALSE(engine->isActive());
    settle();
    EXPECT_TRUE(engine->isActive());
}

TEST_F(EngineTest, ScheduleEntriesAddedAfterLaunchAreIgnoredUntilTheNextLaunch)
{
    EXPECT_CALL(*schedule, start(_, _, _)).Times(0);
    EXPECT_CALL(*schedule, updateEntries(_)).Times(0);
    makeEngine();
    settings->setScheduleEntries({ coveringEntry() });
    settle();
    EXPECT_FALSE(engine->isActive());
}

TEST_F(EngineTest, ScheduleEntriesChangedDuringTheRunReachTheScheduleManager)
{
    const ScheduleEntry first = coveringEntry();
    settings->setScheduleEntries({ first });
    makeEngine();
    settle();
    ScheduleEntry second = coveringEntry();
    second.isEnabled = false;
    EXPECT_CALL(*schedule, updateEntries(std::vector<ScheduleEntry> { first, second })).Times(1);
    settings->setScheduleEntries({ first, second });
    settle();
}

TEST_F(EngineTest, ASessionStillStartsAndStopsWhenEveryServiceFails)
{
    caffeine->succeeds = false;
    ON_CALL(*workspace, isAppRunning(_)).WillByDefault(::testing::Return(false));
    ON_CALL(*workspace, launchApp(_)).WillByDefault(::testing::Return(QtFuture::makeReadyFuture(false)));
    settings->setCaffeineEnabled(true);
    settings->setLaunchIfNotRunning(false);
    settings->setSelectedAppBundleIDs({ "a" });
    install("a", "Alpha");
    makeEngine();

    engine->start(Duration::minutes15());
    EXPECT_TRUE(engine->isActive());
    EXPECT_FALSE(caffeine->enabled);
    moveOnce();
    settle();
    QThread::msleep(20);
    settle();
    EXPECT_EQ(engine->currentAppName(), "");
    engine->stop(false);
    EXPECT_FALSE(engine->isActive());
    EXPECT_TRUE(mover->isStopped());
}

TEST(EngineDefaults, BuildsTheSystemServicesAndRunsWithoutDisplayOrBuses)
{
    // Nothing to talk to: no X display and buses that do not exist.
    const QByteArray saved[] = { qgetenv("DISPLAY"), qgetenv("DBUS_SESSION_BUS_ADDRESS"),
                                 qgetenv("DBUS_SYSTEM_BUS_ADDRESS") };
    qunsetenv("DISPLAY");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-session");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-system");
    QTemporaryDir dir;
    UserDefaults defaults(dir.path());
    TremlorSettings settings(defaults);
    settings.setCaffeineEnabled(true);
    settings.setSmartIdleEnabled(true);
    settings.setSelectedAppBundleIDs({ "org.example.Missing" });
    {
        TremlorEngine engine(settings);
        engine.start(Duration::minutes15());
        EXPECT_TRUE(engine.isActive());
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(engine.remainingTimeString(), "15:00");
        engine.stop(false);
        EXPECT_FALSE(engine.isActive());
        engine.start(Duration::indefinite());
        EXPECT_TRUE(engine.isActive());
        engine.stop(false);
    }
    const char* names[] = { "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS" };
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isEmpty())
            qunsetenv(names[i]);
        else
            qputenv(names[i], saved[i]);
    }
}

} // namespace
