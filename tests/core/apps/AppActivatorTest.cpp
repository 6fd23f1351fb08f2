#include "Engine/AppActivator.h"

#include "core/EngineTestDoubles.h"
#include "core/InputFakes.h"

using namespace tremlor;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

const std::vector<AppInfo> threeApps { AppInfo("a", "A", "/apps/a.desktop"), AppInfo("b", "B", "/apps/my b.desktop"),
    AppInfo("c", "C", "/apps/c.desktop") };

QString idOf(QFuture<std::optional<AppInfo>> future)
{
    future.waitForFinished();
    return future.result() ? future.result()->bundleIdentifier() : QStringLiteral("<none>");
}

} // namespace

// Launching and activating real applications in rotation is proved on a real desktop
// (AppActivationTest.LaunchesThroughEntriesAndActivatesInRotation); here the index over lists
// that change, the random range, and what a refused or forbidden launch leaves.
TEST(AppActivator, RotationFollowsAShrinkingListAndRandomDrawsStayInRange)
{
    auto workspace = std::make_shared<NiceMock<tremlor::testing::MockAppActivating>>();
    tremlor::testing::ScriptedRandom random;
    AppActivator activator(workspace, random);
    for (int i = 0; i < 5; ++i)
        activator.activateNext(threeApps, RotationMode::sequential, false).waitForFinished();
    EXPECT_EQ(activator.rotationIndex(), 2);
    // Index 2 over a list that shrank to two: 2 % 2 = 0, and the index becomes 1.
    const std::vector<AppInfo> two(threeApps.begin(), threeApps.begin() + 2);
    EXPECT_EQ(idOf(activator.activateNext(two, RotationMode::sequential, false)), "a");
    EXPECT_EQ(activator.rotationIndex(), 1);
    // An empty list chooses nothing and leaves the index alone.
    EXPECT_EQ(idOf(activator.activateNext({}, RotationMode::sequential, true)), "<none>");
    EXPECT_EQ(activator.rotationIndex(), 1);

    // Random draws over the closed range [0, count - 1] only (any other range draws unpinned),
    // never move the index, and a source out of its range never indexes out of the list.
    random.pinInt(0, 2, 2);
    EXPECT_EQ(idOf(activator.activateNext(threeApps, RotationMode::random, false)), "c");
    random.pinInt(0, 0, 7);
    EXPECT_EQ(idOf(activator.activateNext({ threeApps[1] }, RotationMode::random, false)), "b");
    EXPECT_EQ(activator.rotationIndex(), 1);

    // A refused launch still names the chosen application; with launching off, nothing is named,
    // and the rotation moves on all the same.
    ON_CALL(*workspace, isAppRunning(_)).WillByDefault(Return(false));
    EXPECT_CALL(*workspace, launchApp(QUrl::fromLocalFile("/apps/my b.desktop")))
        .WillOnce(Return(QtFuture::makeReadyFuture(false)));
    EXPECT_CALL(*workspace, activateApp(_)).Times(0);
    EXPECT_EQ(idOf(activator.activateNext(threeApps, RotationMode::sequential, true)), "b");
    EXPECT_EQ(idOf(activator.activateNext(threeApps, RotationMode::sequential, false)), "<none>");
    EXPECT_EQ(activator.rotationIndex(), 0);
}

// The choice happens on the calling thread before anything is awaited: overlapping calls, one
// of them stuck in a slow launch, each advance the rotation by exactly one and the main thread
// never waits for the launch.
TEST(AppActivator, OverlappingCallsAdvanceTheRotationOnceEach)
{
    auto workspace = std::make_shared<NiceMock<tremlor::testing::MockAppActivating>>();
    QPromise<bool> launch;
    launch.start();
    ON_CALL(*workspace, isAppRunning(QString("a"))).WillByDefault(Return(false));
    ON_CALL(*workspace, launchApp(_)).WillByDefault(Return(launch.future()));
    AppActivator activator(workspace);
    auto first = activator.activateNext(threeApps, RotationMode::sequential, true);
    auto second = activator.activateNext(threeApps, RotationMode::sequential, true);
    EXPECT_EQ(activator.rotationIndex(), 2); // both choices made before the launch finished
    EXPECT_FALSE(first.isFinished());
    launch.addResult(true);
    launch.finish();
    EXPECT_EQ(idOf(first), "a");
    EXPECT_EQ(idOf(second), "b");
}
