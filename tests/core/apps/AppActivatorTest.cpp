#include "Engine/AppActivator.h"

#include "core/EngineTestDoubles.h"
#include "core/InputFakes.h"

#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace tremlor;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

using MockActivating = tremlor::testing::MockAppActivating;
using tremlor::testing::ScriptedRandom;

std::vector<AppInfo> threeApps()
{
    return { AppInfo("a", "A", "/apps/a.desktop"), AppInfo("b", "B", "/apps/b.desktop"),
        AppInfo("c", "C", "/apps/c.desktop") };
}

std::optional<AppInfo> result(QFuture<std::optional<AppInfo>> future)
{
    future.waitForFinished();
    return future.result();
}

QString idOf(const std::optional<AppInfo>& app)
{
    return app ? app->bundleIdentifier() : QStringLiteral("<none>");
}

} // namespace

TEST(AppActivator, SequentialRotationWrapsAndFollowsAShrinkingList)
{
    auto mock = std::make_shared<NiceMock<MockActivating>>();
    ON_CALL(*mock, isAppRunning(_)).WillByDefault(Return(true));
    ScriptedRandom random;
    AppActivator activator(mock, random);
    const auto apps = threeApps();

    QStringList chosen;
    for (int i = 0; i < 5; ++i)
        chosen << idOf(result(activator.activateNext(apps, RotationMode::sequential, false)));
    EXPECT_EQ(chosen, QStringList({ "a", "b", "c", "a", "b" }));
    EXPECT_EQ(activator.rotationIndex(), 2);

    // Index 2 over a list that shrank to two: 2 % 2 = 0, and the index becomes 1.
    const std::vector<AppInfo> two(apps.begin(), apps.begin() + 2);
    EXPECT_EQ(idOf(result(activator.activateNext(two, RotationMode::sequential, false))), "a");
    EXPECT_EQ(activator.rotationIndex(), 1);

    // An empty list chooses nothing and leaves the index alone.
    EXPECT_EQ(result(activator.activateNext({}, RotationMode::sequential, true)), std::nullopt);
    EXPECT_EQ(activator.rotationIndex(), 1);
}

TEST(AppActivator, RandomModeUsesTheClosedRangeAndKeepsTheIndex)
{
    auto mock = std::make_shared<NiceMock<MockActivating>>();
    ON_CALL(*mock, isAppRunning(_)).WillByDefault(Return(true));
    ScriptedRandom random;
    AppActivator activator(mock, random);

    // Draws over the closed range [0, count - 1] only: any other range would draw unpinned.
    random.pinInt(0, 2, 2);
    EXPECT_EQ(idOf(result(activator.activateNext(threeApps(), RotationMode::random, false))), "c");
    random.pinInt(0, 2, 0);
    EXPECT_EQ(idOf(result(activator.activateNext(threeApps(), RotationMode::random, false))), "a");
    EXPECT_EQ(activator.rotationIndex(), 0);

    const std::vector<AppInfo> one { AppInfo("solo", "Solo", "/apps/solo.desktop") };
    random.pinInt(0, 0, 7); // a source out of its range never indexes out of the list
    EXPECT_EQ(idOf(result(activator.activateNext(one, RotationMode::random, false))), "solo");
}

TEST(AppActivator, ActivatesRunningAppsAndLaunchesStoppedOnesWhenAllowed)
{
    auto mock = std::make_shared<MockActivating>();
    AppActivator activator(mock);
    const std::vector<AppInfo> apps { AppInfo("run", "Running", "/apps/run.desktop"),
        AppInfo("stop", "Stopped", "/apps/my app.desktop") };
    {
        InSequence order;
        EXPECT_CALL(*mock, isAppRunning(QString("run"))).WillOnce(Return(true));
        EXPECT_CALL(*mock, activateApp(QString("run")));
        // Launch refused: the chosen application is still named.
        EXPECT_CALL(*mock, isAppRunning(QString("stop"))).WillOnce(Return(false));
        EXPECT_CALL(*mock, launchApp(QUrl::fromLocalFile("/apps/my app.desktop")))
            .WillOnce(Return(QtFuture::makeReadyFuture(false)));
        // Launching off: nothing.
        EXPECT_CALL(*mock, isAppRunning(QString("run"))).WillOnce(Return(false));
    }
    EXPECT_EQ(idOf(result(activator.activateNext(apps, RotationMode::sequential, true))), "run");
    EXPECT_EQ(idOf(result(activator.activateNext(apps, RotationMode::sequential, true))), "stop");
    EXPECT_EQ(result(activator.activateNext(apps, RotationMode::sequential, false)), std::nullopt);
    // The rotation moved on all the same.
    EXPECT_EQ(activator.rotationIndex(), 1);
}

// The choice happens on the calling thread before anything is awaited: overlapping calls, one
// of them stuck in a slow launch, each advance the rotation by exactly one and the main thread
// never waits for the launch.
TEST(AppActivator, OverlappingCallsAdvanceTheRotationOnceEach)
{
    auto mock = std::make_shared<NiceMock<MockActivating>>();
    QPromise<bool> launch;
    launch.start();
    ON_CALL(*mock, isAppRunning(QString("a"))).WillByDefault(Return(false));
    ON_CALL(*mock, isAppRunning(QString("b"))).WillByDefault(Return(true));
    ON_CALL(*mock, isAppRunning(QString("c"))).WillByDefault(Return(true));
    ON_CALL(*mock, launchApp(_)).WillByDefault(Return(launch.future()));
    AppActivator activator(mock);

    auto first = activator.activateNext(threeApps(), RotationMode::sequential, true);
    auto second = activator.activateNext(threeApps(), RotationMode::sequential, true);
    EXPECT_EQ(activator.rotationIndex(), 2); // both choices made before the launch finished
    EXPECT_FALSE(first.isFinished());
    launch.addResult(true);
    launch.finish();
    EXPECT_EQ(idOf(result(first)), "a");
    EXPECT_EQ(idOf(result(second)), "b");
}
