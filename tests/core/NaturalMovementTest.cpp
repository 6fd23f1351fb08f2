#include "Engine/MouseMover.h"
#include "core/InputFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace tremlor;
using namespace tremlor::testing;
using Kind = PostedEvent::Kind;

// The easing meets its linear middle at the joins, with no jump or dip.
TEST(NaturalMovement, EasingIsContinuousAndMonotonic)
{
    double previous = 0.0;
    for (int i = 1; i <= 10000; ++i) {
        const double u = MouseMover::naturalEase(i / 10000.0);
        EXPECT_GE(u, previous);
        EXPECT_LT(u - previous, 0.01);
        previous = u;
    }
}

TEST(NaturalMovement, CurvesNeverLeaveTheirDisplay)
{
    MoverRig rig(9);
    rig.poster->displays = { QRectF(0, 0, 1920, 1080), QRectF(1920, 0, 1280, 1024) };
    rig.poster->screen = QRectF(0, 0, 3200, 1080);
    rig.random->pinInt(0, 99, 90); // curveThenKeys
    rig.start(MovementPattern::natural, false, false);
    for (int i = 0; i < 150; ++i) {
        const bool second = i % 2 == 1;
        const QRectF display = rig.poster->displays[second ? 1 : 0];
        // Start near an edge, so jitter and bend push outwards.
        rig.poster->setCursor(second ? QPointF(3199, 1023) : QPointF(1, 1079));
        rig.poster->takeEvents();
        ASSERT_TRUE(rig.tick());
        for (const auto& e : rig.poster->takeEvents()) {
            ASSERT_EQ(e.kind, Kind::move);
            EXPECT_TRUE(
                display.contains(e.point) && e.point.x() <= display.right() - 1 && e.point.y() <= display.bottom() - 1)
                << i << ": " << e.point.x() << "," << e.point.y();
        }
    }
}

TEST(NaturalMovement, TinyOrMissingDisplaysFallBackToTheScreenCentre)
{
    MoverRig rig(5);
    rig.withoutJitter();
    rig.random->pinInt(0, 99, 50);
    rig.poster->displays = { QRectF(0, 0, 60, 50) };
    rig.poster->screen = QRectF(0, 0, 70, 70);
    rig.start(MovementPattern::natural, false, false);
    rig.poster->setCursor({ 3, 3 });
    ASSERT_TRUE(rig.tick());
    EXPECT_EQ(rig.poster->cursor, QPointF(35, 35));

    // No monitor at all: the screen's bounds stand in.
    rig.poster->displays.clear();
    rig.poster->screen = QRectF(0, 0, 800, 600);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(rig.tick());
        for (const auto& e : rig.poster->takeEvents())
            EXPECT_TRUE(rig.poster->screen.contains(e.point));
    }
}

TEST(NaturalMovement, ScrollBurstRampsAndScrollsBack)
{
    MoverRig rig(5);
    rig.random->pinInt(0, 99, 35); // scrollOnly
    rig.random->pinInt(3, 12, 10);
    rig.random->pinInt(0, 1, 1); // positive, and the scroll-back happens
    rig.random->pinInt(1, 3, 2); // two scroll-back events (and amounts of 2 early on)
    rig.start(MovementPattern::natural, false, false);
    const SyntheticTime before = rig.clock->monotonicNow();
    rig.clock->advance(std::chrono::seconds(5));
    ASSERT_TRUE(rig.tick());
    std::vector<PostedEvent> scrolls;
    for (const auto& e : rig.poster->takeEvents()) {
        if (e.kind == Kind::scroll)
            scrolls.push_back(e);
    }
    // Ten steps out, sideways by a point at most, then two back the other way.
    ASSERT_EQ(scrolls.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(i < 10 ? scrolls[i].code >= 1 && scrolls[i].code <= 6 : scrolls[i].code <= -1) << i;
        EXPECT_LE(std::abs(scrolls[i].horizontal), i < 10 ? 1 : 0) << i;
    }
    EXPECT_GT(MouseMover::lastSyntheticNonMouseTime(), before);
}

TEST(NaturalMovement, KeyboardOffPressesNothingAndEveryFourthTickClicks)
{
    MoverRig rig(5);
    rig.random->pinInt(0, 99, 70); // keysOnly
    rig.start(MovementPattern::natural, false, true);
    for (int tick = 1; tick <= 12; ++tick) {
        ASSERT_TRUE(rig.tick());
        const auto events = rig.poster->takeEvents();
        const auto clicks = std::count_if(events.begin(), events.end(), [](auto& e) { return e.kind == Kind::click; });
        EXPECT_EQ(clicks, tick % 4 == 0 ? 1 : 0) << tick;
        for (const auto& e : events)
            EXPECT_EQ(e.kind, Kind::click);
    }

    // Keyboard on: navigation keys go down and up in pairs; every second tick adds a key press.
    rig.start(MovementPattern::natural, true, false);
    for (int tick = 1; tick <= 6; ++tick) {
        ASSERT_TRUE(rig.tick());
        const auto events = rig.poster->takeEvents();
        int downs = 0, ups = 0, presses = 0;
        for (const auto& e : events) {
            downs += e.kind == Kind::keyDown;
            ups += e.kind == Kind::keyUp;
            presses += e.kind == Kind::pressKey;
            if (e.kind == Kind::keyDown) {
                EXPECT_THAT(MouseMover::navigationKeyCodes, ::testing::Contains(e.code));
            }
        }
        EXPECT_EQ(downs, ups);
        EXPECT_TRUE(downs >= 1 && downs <= 4);
        EXPECT_EQ(presses, tick % 2 == 0 ? 1 : 0);
    }
}
