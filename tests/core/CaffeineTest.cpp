#include "Engine/CaffeineManager.h"
#include "core/EngineFixture.h"

using namespace tremlor;
using tremlor::testing::EngineTest;

namespace {

struct Pair : ::testing::Test, tremlor::testing::FakeAssertionPair {
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

// Through the engine, the real manager and pair: the manager reports what is held, so a pair
// refused at start is asked for again at the next change of any setting; one still unanswered
// is not asked for twice, and caffeine turned off abandons it.
TEST_F(EngineTest, RefusedPairIsAskedForAgainAtTheNextChangeButNeverTwiceWhileUnanswered)
{
    settings->setCaffeineEnabled(true);
    makeEngine();
    inhibits.display->answersAtOnce = false;
    engine->start(Duration::hours1());
    EXPECT_FALSE(caffeine->isEnabled());

    inhibits.display->answersAtOnce = inhibits.idle->answersAtOnce = std::nullopt; // slow from now
    auto changeSomething = [&, on = false]() mutable {
        clock->advance(TremlorEngine::caffeineRetryInterval);
        settings->setSimulateClicks(on = !on);
        settle();
        return std::pair(inhibits.display->asked, inhibits.idle->asked);
    };
    EXPECT_EQ(changeSomething(), std::pair(2, 2));
    EXPECT_EQ(changeSomething(), std::pair(2, 2)); // still unanswered
    inhibits.display->answer(true);
    inhibits.idle->answer(true);
    EXPECT_TRUE(caffeine->isEnabled());
    EXPECT_EQ(changeSomething(), std::pair(2, 2)); // held

    for (const bool on : { false, true }) {
        settings->setCaffeineEnabled(on);
        settle();
    }
    EXPECT_EQ(changeSomething(), std::pair(3, 3));
    settings->setCaffeineEnabled(false);
    settle();
    EXPECT_FALSE(inhibits.display->pending || inhibits.idle->pending);
    EXPECT_FALSE(caffeine->isEnabled());
}
