#include "Engine/CaffeineManager.h"
#include "Platform/DBus/SystemSleepPreventer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace tremlor;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

class MockSleepPreventer : public SleepPreventing {
public:
    MOCK_METHOD(bool, isPreventingSleep, (), (const, override));
    MOCK_METHOD(bool, preventSleep, (const QString& reason), (override));
    MOCK_METHOD(void, allowSleep, (), (override));
};

// One inhibit of a service; whether the next acquire succeeds is up to the test.
class MockAssertion : public PowerAssertion {
public:
    MockAssertion()
    {
        ON_CALL(*this, acquire(_)).WillByDefault([this](const QString&) { return held = succeeds; });
        ON_CALL(*this, release()).WillByDefault([this] { held = false; });
        ON_CALL(*this, isHeld()).WillByDefault([this] { return held; });
    }
    MOCK_METHOD(bool, acquire, (const QString& reason), (override));
    MOCK_METHOD(void, release, (), (override));
    MOCK_METHOD(bool, isHeld, (), (const, override));
    void setChangeHandler(ChangeHandler handler) override { onChange = std::move(handler); }

    // The service went away: the inhibit is gone without our release.
    void lose()
    {
        held = false;
        onChange(Change::lost);
    }
    void comeBack() { onChange(Change::available); }

    bool succeeds = true;
    bool held = false;
    ChangeHandler onChange;
};

struct Pair : ::testing::Test {
    NiceMock<MockAssertion>* display = new NiceMock<MockAssertion>;
    NiceMock<MockAssertion>* idle = new NiceMock<MockAssertion>;
    SystemSleepPreventer preventer { std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle) };
    const QString reason = CaffeineManager::reason();
};

} // namespace

TEST(CaffeineManager, TakesThePairWithTheProductReasonAndReleasesIt)
{
    auto preventer = std::make_shared<StrictMock<MockSleepPreventer>>();
    CaffeineManager caffeine(preventer);
    EXPECT_CALL(*preventer, preventSleep(QString("Tremlor is keeping the system awake"))).WillOnce(Return(false));
    caffeine.enable();
    EXPECT_CALL(*preventer, isPreventingSleep()).WillOnce(Return(true));
    EXPECT_TRUE(caffeine.isEnabled());
    EXPECT_CALL(*preventer, allowSleep());
    caffeine.disable();
}

TEST_F(Pair, TakesBothOnceAndASecondRequestCreatesNothing)
{
    EXPECT_CALL(*display, acquire(reason)).Times(1);
    EXPECT_CALL(*idle, acquire(reason)).Times(1);
    EXPECT_TRUE(preventer.preventSleep(reason));
    EXPECT_TRUE(preventer.preventSleep("another reason"));
    EXPECT_TRUE(preventer.isPreventingSleep());

    EXPECT_CALL(*display, release()).Times(1);
    EXPECT_CALL(*idle, release()).Times(1);
    preventer.allowSleep();
    EXPECT_FALSE(preventer.isPreventingSleep());
    preventer.allowSleep(); // nothing held: nothing released
}

TEST_F(Pair, HalfMadePairIsRolledBackEitherWay)
{
    // Display fails: the idle inhibit is still tried, then given back.
    display->succeeds = false;
    EXPECT_CALL(*idle, acquire(_)).Times(1);
    EXPECT_CALL(*idle, release()).Times(1);
    EXPECT_FALSE(preventer.preventSleep(reason));
    EXPECT_FALSE(preventer.isPreventingSleep());
    EXPECT_FALSE(idle->held);
    ::testing::Mock::VerifyAndClearExpectations(idle);

    // Only the display succeeds: it is given back.
    display->succeeds = true;
    idle->succeeds = false;
    EXPECT_FALSE(preventer.preventSleep(reason));
    EXPECT_FALSE(display->held);
    EXPECT_FALSE(preventer.isPreventingSleep());

    // Once both work, a fresh pair is taken.
    idle->succeeds = true;
    EXPECT_TRUE(preventer.preventSleep(reason));
    EXPECT_TRUE(display->held && idle->held);
}

TEST_F(Pair, LostInhibitIsReportedAndTakenAgainWhenTheServiceReturns)
{
    ASSERT_TRUE(preventer.preventSleep(reason));
    display->succeeds = false; // the service is gone for now
    display->lose();
    EXPECT_FALSE(preventer.isPreventingSleep());
    EXPECT_FALSE(idle->held); // both or neither

    // Some other service coming and going changes nothing while the display one is away.
    idle->comeBack();
    EXPECT_FALSE(preventer.isPreventingSleep());
    EXPECT_FALSE(idle->held);

    display->succeeds = true;
    EXPECT_CALL(*display, acquire(reason)).Times(1);
    display->comeBack();
    EXPECT_TRUE(preventer.isPreventingSleep());
    EXPECT_TRUE(idle->held);
}

TEST_F(Pair, NothingIsTakenAgainOnceSleepIsAllowed)
{
    ASSERT_TRUE(preventer.preventSleep(reason));
    idle->lose();
    EXPECT_FALSE(preventer.isPreventingSleep());
    preventer.allowSleep();
    EXPECT_CALL(*display, acquire(_)).Times(0);
    EXPECT_CALL(*idle, acquire(_)).Times(0);
    idle->comeBack();
    EXPECT_FALSE(preventer.isPreventingSleep());
}

TEST(SystemSleepPreventer, DestructionReleasesAHeldPair)
{
    auto* display = new NiceMock<MockAssertion>;
    auto* idle = new NiceMock<MockAssertion>;
    auto preventer = std::make_unique<SystemSleepPreventer>(
        std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle));
    ASSERT_TRUE(preventer->preventSleep("r"));
    EXPECT_CALL(*display, release());
    EXPECT_CALL(*idle, release());
    preventer.reset();
}
