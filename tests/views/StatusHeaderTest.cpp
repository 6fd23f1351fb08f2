#include "Views/Popover/ActivityRing.h"
#include "Views/Popover/StatusHeaderView.h"
#include "kit/KitTestSupport.h"

#include <QAccessible>
#include <QImage>
#include <QPaintEvent>
#include <QVariantAnimation>

#include <limits>

using namespace tremlor;
using kittest::MotionOverride;

namespace {

// A session's state: active, paused by idle or without an end as asked.
StatusHeaderView::State running(double progress, double remaining, const QString& text, const QString& next = {},
    bool paused = false, bool endless = false)
{
    return { true, paused, text, next, progress, endless, remaining };
}

// Whether any of the ring's motions (progress, pulse, breathing, bounce) runs.
bool ringMoves(const ActivityRing& ring)
{
    for (const QVariantAnimation* a :
        { ring.breathingAnimation(), ring.urgencyAnimation(), ring.progressAnimation(), ring.bounceAnimation() })
        if (a && a->state() == QAbstractAnimation::Running)
            return true;
    return false;
}

} // namespace

// What the header says and the ring draws in each state of a session, reached from a running
// one; with motion reduced every value is set at once and nothing moves.
TEST(StatusHeader, TextsAndRingFollowTheSessionState)
{
    MotionOverride reduced(true);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* name;
        StatusHeaderView::State state;
        QString centre, title, next, label, value;
        double arc;
    };
    const StatusHeaderView::State idle { false, false, "5:00", "Mail" }; // whatever the other inputs hold
    const Row rows[] = {
        { "idle", idle, "Inactive", "", "", "Inactive", "Not active", 0 },
        { "timed", running(0.25, 2700, "45:00", "Mail"), "45:00", "Active", "Next: Mail",
            "Active, 45:00 remaining, next app Mail", "25 percent complete", 0.25 },
        { "paused", running(0.25, 2700, "45:00", "Mail", true), "45:00", "Paused", "", "Paused, 45:00 remaining",
            "25 percent complete", 0.25 },
        { "indefinite", running(0, 0, "∞", "Mail", false, true), "∞", "Active", "Next: Mail",
            "Active, ∞ remaining, next app Mail", "Infinite session active", 0.5 },
        { "paused indefinite", running(0, 0, "∞", "Mail", true, true), "∞", "Paused", "", "Paused, ∞ remaining",
            "Infinite session active", 0 },
        { "last minute", running(0.999, 60, QStringLiteral("1:00")), "1:00", "Active", "", "Active, 1:00 remaining",
            "99 percent complete", 0.999 },
        { "no text", running(1.0, 0, QString()), "", "Active", "", "Active", "100 percent complete", 1.0 },
        { "progress not a number", running(nan, nan, QStringLiteral("0:01")), "0:01", "Active", "",
            "Active, 0:01 remaining", "0 percent complete", 0 },
        { "endless progress", running(std::numeric_limits<double>::infinity(), 1e300, QStringLiteral("x")), "x",
            "Active", "", "Active, x remaining", "100 percent complete", 1.0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StatusHeaderView header;
        header.resize(288, 140);
        header.show();
        header.setState(running(0.2, 3000, QStringLiteral("50:00")));
        header.setState(row.state);
        EXPECT_FALSE(ringMoves(*header.ring()));
        EXPECT_NE(header.titleFade()->state(), QAbstractAnimation::Running);
        EXPECT_EQ(header.ringText(), row.centre);
        EXPECT_EQ(header.titleText(), row.title);
        EXPECT_EQ(header.nextText(), row.next);
        EXPECT_EQ(header.isTitleShown(), !row.title.isEmpty());
        EXPECT_EQ(header.combinedAccessibilityLabel(), row.label);
        // One element: neither the ring nor the title lines are read a second time.
        QAccessibleInterface* element = QAccessible::queryAccessibleInterface(&header);
        EXPECT_EQ(element->text(QAccessible::Name), row.label);
        EXPECT_EQ(element->childCount(), 0);
        EXPECT_EQ(element->text(QAccessible::Description), row.value); // the ring's value
        EXPECT_NEAR(clampedFraction(header.ring()->effectiveProgress()), row.arc, 1e-9);
        EXPECT_EQ(header.ring()->drawnOpacity(), 1.0);
        // Drawing any of these is defined and finishes.
        QImage image(header.size(), QImage::Format_ARGB32);
        header.render(&image);
    }
}

// Each second's tick asks for the same pulse or breathing: the running animation goes on from
// where it is instead of starting over; hidden, the ring runs no animation at all. A finished
// session bounces; reduced motion turned on while the ring breathes stops it at once, and off
// resumes it.
TEST(StatusHeader, RepeatingMotionsSurviveTicksAndStopWhenHidden)
{
    MotionOverride motion(false);
    StatusHeaderView header;
    header.show();
    for (const double remaining : { 60.5, 0.0, 60.0 }) { // the last minute holds 60 s, not 60.5 or 0
        header.setState(running(0.9, remaining, QStringLiteral("1:00")));
        const QVariantAnimation* urgency = header.ring()->urgencyAnimation();
        EXPECT_EQ(urgency && urgency->state() == QAbstractAnimation::Running, remaining == 60.0) << remaining;
    }
    header.setState(running(0.9, 59, QStringLiteral("0:59")));
    QVariantAnimation* pulse = header.ring()->urgencyAnimation();
    ASSERT_NE(pulse, nullptr);
    ASSERT_EQ(pulse->state(), QAbstractAnimation::Running);
    pulse->setCurrentTime(300);
    header.setState(running(0.91, 58, QStringLiteral("0:58")));
    EXPECT_EQ(header.ring()->urgencyAnimation(), pulse);
    EXPECT_EQ(pulse->state(), QAbstractAnimation::Running);
    EXPECT_GE(pulse->currentTime(), 300);
    EXPECT_LT(header.ring()->drawnOpacity(), 1.0);

    // Paused in the last minute: full opacity, no pulse.
    header.setState(running(0.91, 58, QStringLiteral("0:58"), {}, true));
    EXPECT_NE(pulse->state(), QAbstractAnimation::Running);
    EXPECT_EQ(header.ring()->drawnOpacity(), 1.0);
    header.setState(running(1.0, 0, QStringLiteral("0:00")));
    ASSERT_NE(header.ring()->bounceAnimation(), nullptr);
    EXPECT_EQ(header.ring()->bounceAnimation()->state(), QAbstractAnimation::Running);

    StatusHeaderView::State endless = running(0, 0, QStringLiteral("∞"), {}, false, true);
    header.setState(endless);
    QVariantAnimation* breathing = header.ring()->breathingAnimation();
    ASSERT_NE(breathing, nullptr);
    ASSERT_EQ(breathing->state(), QAbstractAnimation::Running);
    breathing->setCurrentTime(1500);
    EXPECT_GT(header.ring()->infinitePulse(), 0.3);
    endless.remainingSeconds = 1; // a tick of the countdown
    header.setState(endless);
    EXPECT_GE(breathing->currentTime(), 1500);
    EXPECT_EQ(header.ring()->effectiveProgress(), header.ring()->infinitePulse());
    kestu::setReducedMotionOverride(true);
    header.ring()->motionPreferenceChanged();
    EXPECT_NE(breathing->state(), QAbstractAnimation::Running);
    EXPECT_EQ(header.ring()->effectiveProgress(), 0.5);
    kestu::setReducedMotionOverride(false);
    header.ring()->motionPreferenceChanged();
    EXPECT_EQ(header.ring()->breathingAnimation()->state(), QAbstractAnimation::Running);

    header.hide();
    EXPECT_FALSE(ringMoves(*header.ring()));
    header.setState(running(0.95, 30, QStringLiteral("0:30")));
    EXPECT_NE(header.ring()->urgencyAnimation()->state(), QAbstractAnimation::Running);
}

// A frame of the breathing repaints only the stretch where the arc's end moved, once, and a
// step of less than half a pixel repaints nothing (the animation is stepped by hand).
TEST(StatusHeader, BreathingRepaintsOnlyTheArcsEnd)
{
    MotionOverride motion(false);
    StatusHeaderView header;
    header.resize(288, 140);
    header.show();
    StatusHeaderView::State endless = running(0, 0, QStringLiteral("∞"), {}, false, true);
    header.setState(endless);
    QVariantAnimation* breathing = header.ring()->breathingAnimation();
    ASSERT_NE(breathing, nullptr);
    breathing->pause();
    breathing->setCurrentTime(1000);
    QCoreApplication::processEvents();

    struct Paints : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                regions.append({ watched, static_cast<QPaintEvent*>(event)->rect() });
            return false;
        }
        QList<QPair<QObject*, QRect>> regions;
    } paints;
    qApp->installEventFilter(&paints);
    ActivityRing* ring = header.ring();
    const double before = ring->effectiveProgress();
    breathing->setCurrentTime(1016);
    QCoreApplication::processEvents();
    const QRect end = ring->arcEndRect(before, ring->effectiveProgress());
    ASSERT_FALSE(paints.regions.isEmpty());
    for (const auto& [widget, rect] : paints.regions) {
        if (widget == ring)
            EXPECT_TRUE(end.contains(rect)) << rect.width() << "x" << rect.height();
        else // what lies under the ring's translucent corner only
            EXPECT_TRUE(ring->geometry().contains(static_cast<QWidget*>(widget)->mapTo(&header, rect.topLeft())));
    }
    EXPECT_LT(end.width() * end.height() * 4, ring->width() * ring->height());
    paints.regions.clear();
    breathing->setCurrentTime(1017);
    QCoreApplication::processEvents();
    EXPECT_TRUE(paints.regions.isEmpty());
    qApp->removeEventFilter(&paints);
}
