#include "Engine/CaffeineManager.h"
#include "Platform/DBus/SystemSleepPreventer.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tremlor;

namespace {

// One inhibit of a service that answers only when the test says so (or at once).
class FakeAssertion final : public PowerAssertion {
public:
    void acquire(const QString&, Done done) override
    {
        ++asked;
        pending = std::move(done);
        if (answersAtOnce)
            answer(*answersAtOnce);
    }
    void answer(bool ok)
    {
        held = ok;
        if (Done done = std::exchange(pending, nullptr))
            done(ok);
    }
    void release() override
    {
        pending = nullptr;
        released += held ? 1 : 0;
        if (held && releaseSink)
            ++*releaseSink;
        held = false;
    }
    bool isHeld() const override { return held; }
    void setChangeHandler(ChangeHandler handler) override { onChange = std::move(handler); }
    // The service went away: the inhibit is gone without our release.
    void lose()
    {
        held = false;
        onChange(Change::lost);
    }
    void comeBack() { onChange(Change::available); }

    std::optional<bool> answersAtOnce;
    int asked = 0;
    int released = 0;
    int* releaseSink = nullptr; // counts releases past the fake's own life
    bool held = false;
    Done pending;
    ChangeHandler onChange;
};

struct Pair : ::testing::Test {
    FakeAssertion* display = new FakeAssertion;
    FakeAssertion* idle = new FakeAssertion;
    SystemSleepPreventer preventer { std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle) };
    const QString reason = CaffeineManager::reason();

    void takeBoth()
    {
        preventer.preventSleep(reason);
        display->answer(true);
        idle->answer(true);
        ASSERT_TRUE(preventer.isPreventingSleep());
    }
};

} // namespace

// A Start press returns before any service answers; the pair counts only once both are in.
TEST_F(Pair, AsksBothWithoutWaitingAndHoldsOnlyOnceBothAnswered)
{
    preventer.preventSleep(reason);
    EXPECT_EQ(display->asked, 1);
    EXPECT_EQ(idle->asked, 1);
    display->answer(true);
    EXPECT_FALSE(preventer.isPreventingSleep());
    preventer.preventSleep("another reason"); // already asking: nothing new
    EXPECT_EQ(display->asked + idle->asked, 2);
    idle->answer(true);
    EXPECT_TRUE(preventer.isPreventingSleep());
    preventer.allowSleep();
    EXPECT_FALSE(preventer.isPreventingSleep());
    EXPECT_EQ(display->released + idle->released, 2);
}

TEST_F(Pair, HalfMadePairIsGivenBackWhicheverFailsAndWhateverTheOrder)
{
    struct Case {
        bool displayOk, idleOk, idleFirst;
    };
    for (const Case c : { Case { true, false, false }, Case { true, false, true }, Case { false, true, true },
             Case { false, false, false } }) {
        SCOPED_TRACE(testing::Message() << c.displayOk << c.idleOk << c.idleFirst);
        preventer.preventSleep(reason);
        if (c.idleFirst)
            idle->answer(c.idleOk);
        display->answer(c.displayOk);
        if (!c.idleFirst)
            idle->answer(c.idleOk);
        EXPECT_FALSE(preventer.isPreventingSleep());
        EXPECT_FALSE(display->held || idle->held);
        EXPECT_FALSE(preventer.isTaking());
        preventer.allowSleep();
    }
    // Services that answer at once work the same.
    display->answersAtOnce = idle->answersAtOnce = true;
    preventer.preventSleep(reason);
    EXPECT_TRUE(preventer.isPreventingSleep());
}

TEST_F(Pair, AllowingSleepWhileAskingAbandonsTheAnswers)
{
    preventer.preventSleep(reason);
    display->answer(true);
    preventer.allowSleep();
    EXPECT_FALSE(display->held);
    EXPECT_EQ(idle->pending, nullptr); // the request in flight is abandoned
    preventer.preventSleep(reason); // a new press asks again
    EXPECT_EQ(display->asked, 2);
    EXPECT_EQ(idle->asked, 2);
}

TEST_F(Pair, LostInhibitIsReportedAndTakenAgainWhenTheServiceReturns)
{
    takeBoth();
    display->lose();
    EXPECT_FALSE(preventer.isPreventingSleep());
    EXPECT_FALSE(idle->held); // both or neither

    display->comeBack();
    EXPECT_EQ(display->asked, 2);
    idle->comeBack(); // already asking: nothing new
    EXPECT_EQ(idle->asked, 2);
    display->answer(true);
    idle->answer(true);
    EXPECT_TRUE(preventer.isPreventingSleep());

    // Once sleep is allowed, a returning service is left alone.
    idle->lose();
    preventer.allowSleep();
    idle->comeBack();
    EXPECT_EQ(idle->asked, 2);
}

TEST(SystemSleepPreventer, DestructionReleasesAHeldPair)
{
    int released = 0;
    auto* display = new FakeAssertion;
    auto* idle = new FakeAssertion;
    for (FakeAssertion* fake : { display, idle }) {
        fake->answersAtOnce = true;
        fake->releaseSink = &released;
    }
    auto preventer = std::make_unique<SystemSleepPreventer>(
        std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle));
    preventer->preventSleep("r");
    ASSERT_TRUE(preventer->isPreventingSleep());
    preventer.reset();
    EXPECT_EQ(released, 2);
}
