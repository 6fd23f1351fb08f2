#include "core/EngineFixture.h"

using namespace tremlor;
using namespace tremlor::testing;
using ::testing::_;

namespace {

TEST_F(EngineTest, IdleReportsPauseAndResumeTheSession)
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

    engine->stop(false);
    idle->report(false);
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_TRUE(logged(QString::fromUtf8("callback ignored — engine not active")));
}

TEST_F(EngineTest, AnIdleReportQueuedBeforeAStopAndStartDoesNotPauseTheNewSession)
{
    settings->setSmartIdleEnabled(true);
    makeEngine();
    engine->start(Duration::minutes15());
    idle->report(false); // posted to the main thread, not yet delivered
    engine->stop(false);
    engine->start(Duration::minutes15());
    settle();
    EXPECT_FALSE(engine->isPausedByIdle());
    EXPECT_FALSE(mover->isStopped());
}

TEST_F(EngineTest, RotationBringsTheNextApplicationForwardEveryNthMovement)
{
    settings->setSelectedAppBundleIDs({ "a", "b", "c" });
    settings->setAppSwitchInterval(3);
    makeEngine();
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 1; }));

    std::vector<int> switchedAfter;
    for (int movement = 1; movement <= 9; ++movement) {
        const int before = activator->rotationIndex();
        mover->jiggle();
        settle();
        if (activator->rotationIndex() != before)
            switchedAfter.push_back(movement);
    }
    EXPECT_EQ(switchedAfter, (std::vector<int> { 3, 6, 9 }));

    for (const std::int64_t interval : { std::int64_t(0), std::int64_t(-4) }) {
        settings->setAppSwitchInterval(interval);
        for (int movement = 0; movement < 3; ++movement) {
            const int before = activator->rotationIndex();
            mover->jiggle();
            settle();
            EXPECT_NE(activator->rotationIndex(), before) << interval;
        }
    }
}

TEST_F(EngineTest, AMovementReportedAfterAStopOrPauseBringsNothingForward)
{
    settings->setSmartIdleEnabled(true);
    settings->setSelectedAppBundleIDs({ "a", "b" });
    makeEngine();

    // Stop: the mover's last report arrives after it.
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 1; }));
    mover->jiggle();
    engine->stop(false);
    settle();
    EXPECT_EQ(activator->rotationIndex(), 0);
    EXPECT_EQ(engine->currentAppName(), "");

    // Pause: the report of the user's activity is handled before the movement's.
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return activationCount() == 2; }));
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
    EXPECT_EQ(engine->currentAppName(), "");
    EXPECT_EQ(engine->nextAppName(), "");
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

// The manager runs only while there are entries: a first entry added after a launch with none
// starts it, and later changes update it.
TEST_F(EngineTest, ScheduleManagerStartsWithTheFirstEntryAndThenFollowsChanges)
{
    makeEngine();
    settle();
    ::testing::Mock::VerifyAndClearExpectations(schedule.get());

    const ScheduleEntry first = coveringEntry();
    EXPECT_CALL(*schedule, start(std::vector<ScheduleEntry> { first }, _, _)).Times(1);
    settings->setScheduleEntries({ first });
    settle();
    ::testing::Mock::VerifyAndClearExpectations(schedule.get());

    ScheduleEntry second = coveringEntry();
    second.isEnabled = false;
    EXPECT_CALL(*schedule, start(_, _, _)).Times(0);
    EXPECT_CALL(*schedule, updateEntries(std::vector<ScheduleEntry> { first, second })).Times(1);
    settings->setScheduleEntries({ first, second });
    settle();
}

} // namespace
