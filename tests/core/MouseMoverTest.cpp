#include "Engine/MouseMover.h"

#include "core/InputFakes.h"

#include <QLineF>

#include <gmock/gmock.h>

#include <cmath>
#include <future>
#include <ranges>
#include <thread>

namespace tremlor {

// Reads the mover's pattern state on its queue.
class MouseMoverProbe {
public:
    static QPointF driftOffset(MouseMover& mover) { return read(mover, &MouseMover::m_driftOffset); }
    static double circleAngle(MouseMover& mover) { return read(mover, &MouseMover::m_circleAngle); }

private:
    template <typename T> static T read(MouseMover& mover, T MouseMover::*member)
    {
        T value {};
        mover.m_queue->sync([&] { value = mover.*member; });
        return value;
    }
};

} // namespace tremlor

using namespace tremlor;
using namespace tremlor::testing;
using Kind = PostedEvent::Kind;

namespace {

std::vector<QPointF> movesOf(const std::vector<PostedEvent>& events)
{
    std::vector<QPointF> points;
    for (const auto& move : events | std::views::filter([](const PostedEvent& e) { return e.kind == Kind::move; }))
        points.push_back(move.point);
    return points;
}

} // namespace

// Every draw at the bottom, then at the top of its range, gives the ends of each kind of delay;
// absurd intervals give finite delays of at most a day. The same ends come out where the delay
// is used: the timer the start arms and the one the tick re-arms.
TEST(MouseMoverDelay, DelaysStayWithinTheirBoundsEvenForAbsurdIntervalsAndDistances)
{
    using enum MovementPattern;
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double day = MouseMover::maximumDelay;
    // pattern, interval, the natural pattern's draw (0 is a long pause), shortest and longest delay
    for (const auto& [pattern, maxInterval, pick, shortest, longest] :
        std::initializer_list<std::tuple<MovementPattern, double, int, double, double>> { { bounce, 1.0, 0, 0.8, 1.4 },
            { drift, 30.0, 0, 0.8, 42.0 }, { natural, 30.0, 9, 0.8, 3.6 }, { natural, 30.0, 0, 3.0, 8.0 },
            { natural, 2.0, 9, 0.8, 2.4 }, { natural, 2.0, 0, 3.0, 3.0 }, { circle, 1e300, 0, 0.8, day },
            { bounce, inf, 0, 0.8, day }, { drift, nan, 0, 0.8, 42.0 }, { circle, -5.0, 0, 0.8, 1.4 },
            { natural, 0.0, 9, 0.8, 1.2 }, { natural, inf, 0, 3.0, 8.0 } }) {
        for (const bool top : { false, true }) {
            ScriptedRandom edge;
            edge.realHook = [top](double a, double b) -> std::optional<double> { return top ? b : a; };
            edge.pinInt(0, 9, pick);
            EXPECT_DOUBLE_EQ(MouseMover::drawDelay(edge, pattern, maxInterval), top ? longest : shortest)
                << rawValue(pattern).toStdString() << " " << maxInterval << " " << pick;

            MoverRig armed;
            armed.random->realHook = edge.realHook;
            armed.random->pinInt(0, 9, pick);
            armed.start(pattern, false, false, maxInterval);
            ASSERT_TRUE(armed.tick());
            for (std::size_t timer : { 0u, 1u })
                EXPECT_NEAR(std::chrono::duration<double>(armed.timers->at(timer).delay).count(),
                    top ? longest : shortest, 1e-9)
                    << rawValue(pattern).toStdString() << " " << maxInterval << " " << pick << " timer " << timer;
        }
    }
    // Through start: the armed timer's delay is at most a day.
    MoverRig rig;
    rig.random->pinReal(0.8, 1.4, 1.4);
    rig.start(MovementPattern::bounce, false, false, 1e300, 1e300);
    ASSERT_EQ(rig.timers->count(), 1u);
    EXPECT_TRUE(rig.timers->at(0).delay > std::chrono::seconds(0) && rig.timers->at(0).delay <= std::chrono::hours(24));

    for (double distance : { 1e300, inf, nan }) {
        for (auto pattern : { MovementPattern::bounce, MovementPattern::drift, MovementPattern::circle }) {
            rig.start(pattern, false, false, 30.0, distance);
            for (int i = 0; i < 10; ++i)
                ASSERT_TRUE(rig.tick());
            for (const QPointF& p : movesOf(rig.poster->takeEvents()))
                EXPECT_TRUE(std::isfinite(p.x()) && rig.poster->screen.contains(p)) << p.x() << "," << p.y();
        }
    }
}

// A bounce goes at most the distance out and comes back to where it started; drifts add up.
TEST(MouseMoverPatterns, BounceReturnsDriftAddsUpAndResetsCircleTurns)
{
    MoverRig rig;
    rig.start(MovementPattern::bounce);
    for (int i = 0; i < 10; ++i) {
        const QPointF before = rig.poster->cursor;
        ASSERT_TRUE(rig.tick());
        for (const QPointF& p : movesOf(rig.poster->takeEvents()))
            EXPECT_LE(std::max(std::abs(p.x() - before.x()), std::abs(p.y() - before.y())), 10.0 + 1e-9);
        EXPECT_NEAR(QLineF(before, rig.poster->cursor).length(), 0.0, 1e-9) << i;
    }
    EXPECT_EQ(rig.timers->count(), 11u); // the start's timer, then the next one armed by each tick
    rig.start(MovementPattern::drift);
    const QPointF origin = rig.poster->cursor;
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(rig.tick());
    EXPECT_GE(movesOf(rig.poster->takeEvents()).size(), 90u); // three to eight steps each
    const QPointF offset = MouseMoverProbe::driftOffset(*rig.mover);
    EXPECT_NEAR(QLineF(rig.poster->cursor - origin, offset).length(), 0.0, 1e-6);
    EXPECT_NE(offset, QPointF());
    rig.start(MovementPattern::drift);
    EXPECT_EQ(MouseMoverProbe::driftOffset(*rig.mover), QPointF());

    // Circle: a step of 0.5 rad each tick moves by 0.5 × d along the new angle, in four steps
    // that ease in (the first covers smoothstep(1/4) of the way).
    rig.random->pinReal(0.2, 0.5, 0.5);
    rig.random->pinInt(2, 5, 4);
    rig.start(MovementPattern::circle, false, false, 30.0, 20.0);
    for (int i = 1; i <= 3; ++i) {
        const QPointF before = rig.poster->cursor;
        ASSERT_TRUE(rig.tick());
        EXPECT_NEAR(MouseMoverProbe::circleAngle(*rig.mover), 0.5 * i, 1e-12);
        const QPointF step = 0.5 * 20.0 * QPointF(std::cos(0.5 * i), std::sin(0.5 * i));
        EXPECT_NEAR(QLineF(rig.poster->cursor - before, step).length(), 0.0, 1e-9);
        EXPECT_NEAR(QLineF(movesOf(rig.poster->takeEvents()).front() - before, step * 0.15625).length(), 0.0, 1e-9);
    }
    EXPECT_EQ(rig.jiggles, 10 + 30 + 3);
}

// Keys and clicks come at their rates only when on: a key is an inert one, a click lands where
// the cursor is. The mover itself stamps nothing for the simple patterns (the poster does).
TEST(MouseMoverExtras, KeysAndClicksComeAtTheirRatesOnlyWhenOn)
{
    MoverRig rig(11);
    const SyntheticTime marker = rig.clock->monotonicNow() - std::chrono::seconds(77);
    MouseMover::setLastSyntheticNonMouseTime(marker);
    bool sawMovingFlag = false;
    rig.poster->onMove = [&](QPointF) { sawMovingFlag = sawMovingFlag || MouseMover::isSyntheticMoving(); };
    rig.mover->setOnJiggle([&] {
        // The record is complete before the flag drops, and both are done by onJiggle.
        EXPECT_FALSE(MouseMover::isSyntheticMoving());
        EXPECT_EQ(MouseMover::lastSyntheticPosition(), rig.poster->cursor);
        ++rig.jiggles;
    });
    constexpr int ticks = 400;
    for (auto pattern : { MovementPattern::bounce, MovementPattern::drift, MovementPattern::circle }) {
        for (const bool on : { false, true }) {
            MouseMover::setLastSyntheticPosition({ -1, -1 });
            rig.start(pattern, on, on);
            EXPECT_EQ(MouseMover::lastSyntheticPosition(), rig.poster->cursor); // where the session starts
            for (int i = 0; i < ticks; ++i)
                ASSERT_TRUE(rig.tick());
            std::map<Kind, int> n;
            QPointF cursor;
            for (const auto& e : rig.poster->takeEvents()) {
                ++n[e.kind];
                cursor = e.kind == Kind::move ? e.point : cursor;
                EXPECT_TRUE(e.kind != Kind::click || e.point == cursor);
                EXPECT_TRUE(e.kind != Kind::pressKey || std::ranges::count(MouseMover::inertKeyCodes, e.code) == 1);
            }
            EXPECT_NEAR(n[Kind::pressKey] / double(ticks), on ? 0.25 : 0.0, 0.06) << rawValue(pattern).toStdString();
            EXPECT_NEAR(n[Kind::click] / double(ticks), on ? 0.1 : 0.0, 0.04) << rawValue(pattern).toStdString();
        }
    }
    EXPECT_TRUE(sawMovingFlag);
    EXPECT_EQ(MouseMover::lastSyntheticNonMouseTime(), marker);
    EXPECT_EQ(rig.jiggles, 6 * ticks);
}

// For the natural pattern the stop lands inside a curve that a scroll, keys and a click would follow.
TEST(MouseMoverLifecycle, StopDuringAMovePostsNothingMoreAndJigglesOnce)
{
    for (auto pattern : allCases<MovementPattern>()) {
        MoverRig rig;
        // Every extra would fire if reached.
        rig.random->pinInt(0, 1, 1);
        rig.random->pinInt(0, 9, 0);
        rig.random->pinInt(0, 99, 10); // natural: curve then scroll
        rig.start(pattern, true, true);
        ASSERT_TRUE(rig.tick()); // natural tick 1
        rig.poster->takeEvents();
        std::size_t movesBeforeStop = 0;
        rig.onSleep = [&] {
            if (!rig.mover->isStopped()) {
                movesBeforeStop = movesOf(rig.poster->events).size();
                rig.mover->stop();
            }
        };
        const int jigglesBefore = rig.jiggles;
        const std::size_t armedBefore = rig.timers->count();
        ASSERT_TRUE(rig.tick());
        const auto events = rig.poster->takeEvents();
        EXPECT_EQ(rig.jiggles, jigglesBefore + 1) << rawValue(pattern).toStdString();
        EXPECT_EQ(rig.timers->count(), armedBefore) << "no timer after a stop";
        EXPECT_EQ(rig.timers->liveCount(), 0u);
        EXPECT_EQ(movesOf(events).size(), movesBeforeStop) << rawValue(pattern).toStdString();
        EXPECT_THAT(
            events, ::testing::Each(::testing::Field(&PostedEvent::kind, Kind::move))); // nothing after the stop
        EXPECT_FALSE(MouseMover::isSyntheticMoving());
    }
}

TEST(MouseMoverLifecycle, RestartDuringATickOnlyTheNewRunContinues)
{
    MoverRig rig;
    rig.start(MovementPattern::bounce);
    // A start from the main thread while the tick runs on the queue.
    rig.onSleep = [&, restarted = false]() mutable {
        if (!std::exchange(restarted, true))
            rig.mover->start(5.0, 50.0, MovementPattern::drift, false, false);
    };
    ASSERT_TRUE(rig.tick());
    rig.mover->waitUntilIdle();
    EXPECT_EQ(rig.jiggles, 1);
    ASSERT_EQ(rig.timers->count(), 2u);
    EXPECT_EQ(rig.timers->liveCount(), 1u);
    EXPECT_FALSE(rig.timers->fire(0));
    EXPECT_EQ(MouseMoverProbe::driftOffset(*rig.mover), QPointF());
    ASSERT_TRUE(rig.tick());
    EXPECT_NE(MouseMoverProbe::driftOffset(*rig.mover), QPointF());
    EXPECT_EQ(rig.jiggles, 2);

    // Stop then start at once: only the new timer fires.
    const std::size_t before = rig.timers->count();
    rig.mover->stop();
    rig.start(MovementPattern::bounce);
    ASSERT_EQ(rig.timers->count(), before + 1);
    EXPECT_FALSE(rig.timers->fire(before - 1));
    EXPECT_TRUE(rig.timers->fire(before));
    EXPECT_EQ(rig.jiggles, 3);
}

TEST(MouseMoverLifecycle, DestructionWaitsForAStartThatIsArmingItsTimer)
{
    // The start has passed its running check and is drawing the delay when the mover goes; it
    // then arms on the mover's queue (the system timers), which must still be there. Held input
    // is released on the way out (on a real server: InputBackends.KeysClicksScrollsAndDragsArriveAsRawEvents).
    auto random = std::make_shared<ScriptedRandom>();
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> first { true };
    random->realHook = [&](double, double) -> std::optional<double> {
        if (first.exchange(false)) {
            entered.set_value();
            released.wait();
        }
        return std::nullopt;
    };
    auto poster = std::make_shared<FakePoster>();
    auto mover = std::make_unique<MouseMover>(poster, MouseMover::Seams { random, nullptr, nullptr, nullptr });
    MouseMover* raw = mover.get();
    mover->start(30.0, 10.0, MovementPattern::bounce, false, false);
    entered.get_future().wait();
    std::thread releaser([&] {
        while (!raw->isStopped())
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(30)); // the destructor goes on
        release.set_value();
    });
    mover.reset();
    releaser.join();
    EXPECT_EQ(poster->releases, 1);
}
