#include "CompositionRoot.h"
#include "Helpers/AccessibilityChecking.h"
#include "Helpers/AppScanning.h"
#include "core/EngineFixture.h"
#include "support/EnvGuard.h"

#include <limits>

using namespace tremlor;
using namespace tremlor::testing;
using ::testing::_;

namespace {

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
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());
    EXPECT_TRUE(timer->isRunning());
    EXPECT_TRUE(caffeine->enabled);
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
    struct Case {
        bool fromProgram, setting, granted;
        int requests;
    };
    for (const Case& c :
        { Case { false, true, true, 0 }, Case { true, false, true, 0 }, Case { true, true, false, 1 } }) {
        settings->setNotifyOnExpiry(c.setting);
        notifications->grants = c.granted;
        makeEngine(c.fromProgram);
        EXPECT_CALL(*notifications, requestAuthorization(_)).Times(c.requests);
        EXPECT_CALL(*notifications, deliver(_, _, _)).Times(0);
        engine->start(Duration::custom(1));
        fireTicks(60);
        settle();
        EXPECT_FALSE(engine->isActive());
        ::testing::Mock::VerifyAndClearExpectations(notifications.get());
    }
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
    struct Case {
        double maxInterval, distance, idleThreshold;
        double interval, reach, threshold;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases {
        { 0.2, 0.5, 5.0, 1.0, 1.0, 5.0 },
        { nan, nan, nan, 30.0, 3.0, 30.0 },
        { inf, -inf, inf, 30.0, 3.0, 30.0 },
        { 10.0, 6.0, 45.0, 10.0, 6.0, 45.0 },
    };
    makeEngine();
    settings->setSmartIdleEnabled(true);
    for (const Case& c : cases) {
        settings->setMaxInterval(c.maxInterval);
        settings->setJiggleDistance(c.distance);
        settings->setIdleThreshold(c.idleThreshold);
        EXPECT_CALL(*idle, startMonitoring(c.threshold)).Times(1);
        engine->start(Duration::hours1());
        EXPECT_EQ(mover->starts.back().maxInterval, c.interval) << c.maxInterval;
        EXPECT_EQ(mover->starts.back().distance, c.reach) << c.distance;
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
    caffeine->succeeds = false;
    ON_CALL(*workspace, isAppRunning(_)).WillByDefault(::testing::Return(false));
    ON_CALL(*workspace, launchApp(_)).WillByDefault(::testing::Return(QtFuture::makeReadyFuture(false)));
    settings->setCaffeineEnabled(true);
    settings->setLaunchIfNotRunning(false);
    settings->setSelectedAppBundleIDs({ "a" });
    makeEngine();

    engine->start(Duration::minutes15());
    EXPECT_TRUE(engine->isActive());
    EXPECT_FALSE(caffeine->enabled);
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

TEST_F(EngineTest, AMissingServiceIsAnErrorNotASilentSystemDefault)
{
    TremlorEngine::Services services;
    services.mouseMover = std::make_shared<FakeMover>();
    EXPECT_THROW(std::make_unique<TremlorEngine>(*settings, std::move(services)), std::invalid_argument);
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
    {
        CompositionRoot root(settings, {});
        EXPECT_FALSE(root.accessibility().isTrusted());
        EXPECT_TRUE(root.appScannerFactory()());
        TremlorEngine& engine = root.engine();
        engine.start(Duration::minutes15());
        EXPECT_TRUE(engine.isActive());
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(engine.remainingTimeString(), "15:00");
        engine.stop(false);
        EXPECT_FALSE(engine.isActive());
    }
}

} // namespace
