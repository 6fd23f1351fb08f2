#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KitCompositeSupport.h"

#include <QImage>
#include <QVariantAnimation>

#include <limits>

using namespace kestu;

namespace {
using AnimatedGradient = CompositeTest;
auto* swing(const KestuAnimatedGradient& g)
{
    return g.findChild<QVariantAnimation*>("gradient-swing");
}
} // namespace

// There and back for ever, eased (slow near the diagonals); only usable durations animate, and
// huge ones are capped so the whole cycle fits the animation's range.
TEST(AnimatedGradientAxis, PhaseSwingsForEverAndOnlyUsableDurationsAnimate)
{
    const qint64 sweep = 3000, later = 2 * sweep * 1'000'000'000LL;
    const std::pair<qint64, double> phases[]
        = { { 0, 0 }, { 1500, 0.5 }, { 3000, 1 }, { 4500, 0.5 }, { 6000, 0 }, { later + 3000, 1 } };
    for (const auto& [ms, phase] : phases)
        EXPECT_NEAR(KestuAnimatedGradient::phaseAt(ms, sweep), phase, 1e-3) << ms;
    EXPECT_LT(KestuAnimatedGradient::phaseAt(300, sweep), 0.05);

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const double seconds : { 0.0, -2.0, 0.0001, nan, inf })
        EXPECT_EQ(KestuAnimatedGradient::sweepMilliseconds(seconds), 0) << seconds;
    const qint64 capped = KestuAnimatedGradient::sweepMilliseconds(1e12);
    EXPECT_GT(capped, 0);
    EXPECT_LE(2 * capped, qint64(std::numeric_limits<int>::max()));
}

// Swings while shown, back at rest when hidden; still under reduced motion.
TEST_F(AnimatedGradient, SwingsWhileShownOnlyWhenMotionAndDurationAllow)
{
    KestuAnimatedGradient gradient({ Qt::red, Qt::blue }, 2.0);
    gradient.show();
    EXPECT_EQ(swing(gradient)->state(), QAbstractAnimation::Running);
    swing(gradient)->setCurrentTime(3000);
    gradient.hide();
    EXPECT_EQ(swing(gradient)->state(), QAbstractAnimation::Stopped);
    EXPECT_DOUBLE_EQ(gradient.phase(), 0.0);

    setReducedMotionOverride(true);
    KestuAnimatedGradient reduced({ Qt::red, Qt::blue }, 2.0);
    reduced.show();
    EXPECT_NE(swing(reduced)->state(), QAbstractAnimation::Running);
}

// The axis moves straight between its ends; drawn from the top leading corner, flat for one colour.
TEST_F(AnimatedGradient, AxisMovesStraightBetweenItsEndsAndDrawsFromTheTopLeadingCorner)
{
    KestuAnimatedGradient two({ QColor(255, 0, 0), QColor(0, 0, 255) }, 2.0);
    two.resize(200, 100);
    EXPECT_EQ(two.axisAt(0), QLineF(0, 0, 200, 100));
    EXPECT_EQ(two.axisAt(1), QLineF(200, 0, 0, 100));
    two.resize(100, 100);
    const QImage image = two.grab().toImage();
    EXPECT_GT(image.pixelColor(0, 0).red(), 240);
    EXPECT_GT(image.pixelColor(99, 99).blue(), 240);
    EXPECT_NEAR(image.pixelColor(99, 0).red(), 128, 8); // the other diagonal is half way
    KestuAnimatedGradient one({ QColor(10, 200, 30) }, 2.0);
    one.resize(40, 40);
    EXPECT_EQ(one.grab().toImage().pixelColor(39, 39), QColor(10, 200, 30));
}
