#include "Engine/CaffeineManager.h"
#include "Platform/DBus/SystemSleepPreventer.h"
#include "core/EngineFixture.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tremlor;
using tremlor::testing::EngineTest;

namespace {

// One inhibit of a service that answers only when the test says so (or at once).
class FakeAssertion final : public PowerAssertion {
public:
    explicit FakeAssertion(std::shared_ptr<int> releaseCount)
        : releases(std::move(releaseCount))
    {
    }
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
        *releases += held ? 1 : 0;
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

    std::shared_ptr<int> releases; // shared by the pair, and outlives it
    std::optional<bool> answersAtOnce;
    int asked = 0;
    bool held = false;
    Done pending;
    ChangeHandler onChange;
};

struct Pair : ::testing::Test {
    std::shared_ptr<int> releases = std::make_shared<int>(0);
    FakeAssertion* display = new FakeAssertion(releases);
    FakeAssertion* idle = new FakeAssertion(releases);
    std::unique_ptr<SystemSleepPreventer> preventer = std::make_unique<SystemSleepPreventer>(
        std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle));
    const QString reason = CaffeineManager::reason();
};

// A Start press returns before any service answers; the pair counts only once both are in, and
// allowing sleep while asking gives back what came and abandons what is still due.
TEST_F(Pair, AsksBothWithoutWaitingAndHoldsOnlyOnceBothAnswered)
{
    preventer->preventSleep(reason);
    EXPECT_EQ(display->asked + idle->asked, 2);
    display->answer(true);
    EXPECT_FALSE(preventer->isPreventingSleep());
    preventer->preventSleep("another reason"); // already asking: nothing new
    EXPECT_EQ(display->asked + idle->asked, 2);
    idle->answer(true);
    EXPECT_TRUE(preventer->isPreventingSleep());
    preventer->allowSleep();
    EXPECT_FALSE(preventer->isPreventingSleep());
    EXPECT_EQ(*releases, 2);

    preventer->preventSleep(reason);
    display->answer(true);
    preventer->allowSleep();
    EXPECT_FALSE(display->held);
    EXPECT_EQ(idle->pending, nullptr);
    preventer->preventSleep(reason); // a new press asks again
    EXPECT_EQ(display->asked + idle->asked, 6);
}

TEST_F(Pair, HalfMadePairIsGivenBackWhicheverFailsAndWhateverTheOrder)
{
    struct Case {
        bool displayOk, idleOk, idleFirst;
    };
    for (const Case c : { Case { true, false, false }, Case { true, false, true }, Case { false, true, true },
             Case { false, false, false } }) {
        SCOPED_TRACE(::testing::Message() << c.displayOk << c.idleOk << c.idleFirst);
        preventer->preventSleep(reason);
        if (c.idleFirst)
            idle->answer(c.idleOk);
        display->answer(c.displayOk);
        if (!c.idleFirst)
            idle->answer(c.idleOk);
        EXPECT_FALSE(preventer->isPreventingSleep());
        EXPECT_FALSE(display->held || idle->held);
        EXPECT_FALSE(preventer->isTaking());
        preventer->allowSleep();
    }
    // Services that answer at once work the same; the pair is given back when the preventer goes.
    display->answersAtOnce = idle->answersAtOnce = true;
    preventer->preventSleep(reason);
    EXPECT_TRUE(preventer->isPreventingSleep());
    *releases = 0;
    preventer.reset();
    EXPECT_EQ(*releases, 2);
}

// What the real services prove end to end (Inhibits.LostScreenSaverTurnsThePairOff...) is not
// repeated here: only the asks a returning service must or must not cause.
TEST_F(Pair, LostInhibitIsTakenAgainOnceWhenTheServiceReturnsButNotAfterSleepIsAllowed)
{
    preventer->preventSleep(reason);
    display->answer(true);
    idle->answer(true);
    ASSERT_TRUE(preventer->isPreventingSleep());
    display->lose();
    EXPECT_FALSE(preventer->isPreventingSleep());
    EXPECT_FALSE(idle->held); // both or neither
    display->comeBack();
    idle->comeBack(); // already asking: nothing new
    EXPECT_EQ(display->asked + idle->asked, 4);
    display->answer(true);
    idle->answer(true);
    EXPECT_TRUE(preventer->isPreventingSleep());

    idle->lose();
    preventer->allowSleep();
    idle->comeBack();
    EXPECT_EQ(idle->asked, 2);
}

} // namespace

// The engine over the real caffeine manager and pair: turning caffeine off and on again during a
// session gives both inhibits back and takes both again.
TEST_F(EngineTest, CaffeineTurnedOffAndOnAgainTakesBothInhibitsAgain)
{
    auto releases = std::make_shared<int>(0);
    FakeAssertion* display = new FakeAssertion(releases);
    FakeAssertion* idleSleep = new FakeAssertion(releases);
    display->answersAtOnce = idleSleep->answersAtOnce = true;
    CaffeineManager real(std::make_shared<SystemSleepPreventer>(
        std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idleSleep)));
    ON_CALL(*caffeine, isEnabled()).WillByDefault([&] { return real.isEnabled(); });
    ON_CALL(*caffeine, enable()).WillByDefault([&] { real.enable(); });
    ON_CALL(*caffeine, disable()).WillByDefault([&] { real.disable(); });
    settings->setCaffeineEnabled(true);
    makeEngine();
    engine->start(Duration::hours1());
    for (const bool on : { false, true, false, true }) {
        settings->setCaffeineEnabled(on);
        settle();
        EXPECT_TRUE(display->held == on && idleSleep->held == on) << on;
    }
    EXPECT_EQ(display->asked + idleSleep->asked, 6);
    engine->stop(false);
    EXPECT_FALSE(display->held || idleSleep->held);
    EXPECT_EQ(*releases, 6);
}
