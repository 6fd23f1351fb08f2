#include "core/InputFakes.h"

#include <QLineF>

#include <gmock/gmock.h>

#include <cmath>

using namespace tremlor;
using namespace tremlor::testing;
using Kind = PostedEvent::Kind;

// The easing meets its linear middle at the joins, with no jump or dip; the five actions split
// 0…99 at 30, 45, 65 and 80.
TEST(NaturalMovement, EasingIsContinuousAndActionsSplitTheDraw)
{
    using enum MouseMover::NaturalAction;
    for (const auto& [r, action] : { std::pair { 29, curveThenScroll }, { 30, scrollOnly }, { 44, scrollOnly },
             { 45, curveOnly }, { 64, curveOnly }, { 65, keysOnly }, { 79, keysOnly }, { 80, curveThenKeys } })
        EXPECT_EQ(MouseMover::naturalActionFor(r), action) << r;
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
        const QPointF s = second ? QPointF(3199, 1023) : QPointF(1, 1079);
        rig.poster->cursor = s;
        rig.poster->takeEvents();
        ASSERT_TRUE(rig.tick());
        for (const auto& e : rig.poster->takeEvents()) {
            ASSERT_EQ(e.kind, Kind::move);
            EXPECT_TRUE(
                display.contains(e.point) && e.point.x() <= display.right() - 1 && e.point.y() <= display.bottom() - 1)
                << i << ": " << e.point.x() << "," << e.point.y();
        }
        // The curve ends on its target (give or take the jitter): 40 to 70 % of the display away,
        // inside the 40-point inset.
        const QPointF d = rig.poster->cursor - s;
        const double r = std::max(std::abs(d.x()) / display.width(), std::abs(d.y()) / display.height());
        EXPECT_TRUE(r > 0.397 && r < 0.703 && display.adjusted(38, 38, -38, -38).contains(rig.poster->cursor)) << r;
    }
}

// Each segment ends at its share of the way still left: with two, a quarter of the way, then the
// target; with three, a ninth, then a third of the rest; with four, a sixteenth, a sixth of the
// rest, three eighths of the rest.
TEST(NaturalMovement, EachSegmentEndsAtItsShareOfTheRemainingWay)
{
    MoverRig rig(3);
    rig.withoutJitter();
    rig.random->pinInt(0, 99, 50); // curveOnly
    rig.random->pinReal(40, 1880, 1400); // the target, 47 % of the width away: accepted at once
    rig.random->pinReal(40, 1040, 700);
    rig.random->pinReal(3.0, 6.0, 1e9); // one step per 1e9 points: every segment takes the fewest, 15
    rig.start(MovementPattern::natural, false, false);
    const QPointF s(500, 400), target(1400, 700);
    for (const auto& [n, shares] : std::initializer_list<std::pair<int, std::vector<double>>> { { 2, { 1.0 / 4, 1.0 } },
             { 3, { 1.0 / 9, 11.0 / 27, 1.0 } }, { 4, { 1.0 / 16, 7.0 / 32, 131.0 / 256, 1.0 } } }) {
        rig.random->pinInt(2, 4, n);
        rig.poster->cursor = s;
        rig.poster->takeEvents();
        ASSERT_TRUE(rig.tick());
        const auto events = rig.poster->takeEvents();
        ASSERT_GE(events.size(), 15u * n);
        for (int i = 0; i < n; ++i) {
            const QPointF end = events[15 * i + 14].point;
            EXPECT_NEAR(QLineF(end, s + (target - s) * shares[i]).length(), 0.0, 1e-9) << n << " segments, end " << i;
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
    rig.poster->cursor = { 3, 3 };
    rig.random->pinInt(0, 1, 1); // a fidget, which comes back to the target
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
    ASSERT_TRUE(rig.tick());
    std::vector<PostedEvent> scrolls, events = rig.poster->takeEvents();
    std::copy_if(
        events.begin(), events.end(), std::back_inserter(scrolls), [](auto& e) { return e.kind == Kind::scroll; });
    // Ten steps out, sideways by a point at most, then two back the other way.
    ASSERT_EQ(scrolls.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(i < 10 ? scrolls[i].code >= 1 && scrolls[i].code <= 6 : scrolls[i].code <= -1) << i;
        EXPECT_LE(std::abs(scrolls[i].horizontal), i < 10 ? 1 : 0) << i;
    }
}

// Keyboard off with clicks on: a click every fourth tick and nothing else. Keyboard on:
// navigation keys go down and up in pairs, and every second tick adds a key press.
TEST(NaturalMovement, KeyboardOffPressesNothingAndEveryFourthTickClicks)
{
    MoverRig rig(5);
    rig.random->pinInt(0, 99, 70); // keysOnly
    rig.random->pinInt(0, 12, 12); // the tick's own key: the last of the thirteen, End
    for (const bool keyboard : { false, true }) {
        rig.start(MovementPattern::natural, keyboard, !keyboard);
        for (int tick = 1; tick <= 8; ++tick) {
            ASSERT_TRUE(rig.tick());
            std::map<Kind, int> n;
            for (const auto& e : rig.poster->takeEvents()) {
                ++n[e.kind];
                EXPECT_TRUE(e.kind != Kind::keyDown || std::ranges::count(MouseMover::navigationKeyCodes, e.code) == 1);
                EXPECT_TRUE(e.kind != Kind::pressKey || e.code == 119);
            }
            EXPECT_EQ(n[Kind::click], !keyboard && tick % 4 == 0 ? 1 : 0) << tick;
            EXPECT_EQ(n[Kind::keyDown], n[Kind::keyUp]);
            EXPECT_EQ(n[Kind::pressKey], keyboard && tick % 2 == 0 ? 1 : 0) << tick;
            EXPECT_TRUE(keyboard ? n[Kind::keyDown] >= 1 && n[Kind::keyDown] <= 4 : n[Kind::keyDown] == 0);
            EXPECT_TRUE(keyboard || n[Kind::move] + n[Kind::scroll] == 0) << tick;
        }
    }
}
