#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KitCompositeSupport.h"

#include <QImage>
#include <QVariantAnimation>

#include <cmath>
#include <limits>

using namespace kestu;

namespace {
class AnimatedGradient : public CompositeTest { };
} // namespace

TEST(AnimatedGradientAxis, PhaseGoesThereAndBackForEver)
{
    const qint64 sweep = 3000;
    EXPECT_DOUBLE_EQ(KestuAnimatedGradient::phaseAt(0, sweep), 0.0);
    EXPECT_NEAR(KestuAnimatedGradient::phaseAt(1500, sweep), 0.5, 1e-3);
    EXPECT_NEAR(KestuAnimatedGradient::phaseAt(3000, sweep), 1.0, 1e-9);
    EXPECT_NEAR(KestuAnimatedGradient::phaseAt(4500, sweep), 0.5, 1e-3);
    EXPECT_NEAR(KestuAnimatedGradient::phaseAt(6000, sweep), 0.0, 1e-9);
    // Eased: slow near the diagonals.
    EXPECT_LT(KestuAnimatedGradient::phaseAt(300, sweep), 0.1 / 2);
    // Still swinging after a very long time.
    const qint64 later = 2 * sweep * 1'000'000'000LL;
    EXPECT_NEAR(KestuAnimatedGradient::phaseAt(later + 3000, sweep), 1.0, 1e-9);
}

TEST(AnimatedGradientAxis, OnlyUsableDurationsAnimate)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const double seconds : { 0.0, -2.0, 0.0001, nan, inf })
        EXPECT_EQ(KestuAnimatedGradient::sweepMilliseconds(seconds), 0) << seconds;
    EXPECT_EQ(KestuAnimatedGradient::sweepMilliseconds(3.0), 3000);
    // Huge lengths are capped so the whole cycle fits the animation's range.
    const qint64 capped = KestuAnimatedGradient::sweepMilliseconds(1e12);
    EXPECT_GT(capped, 0);
    EXPECT_LE(2 * capped, qint64(std::numeric_limits<int>::max()));
}

TEST_F(AnimatedGradient, SwingsWhileShownAndStopsWhenHidden)
{
    KestuAnimatedGradient gradient({ Qt::red, Qt::blue }, 2.0);
    auto* swing = childNamed<QVariantAnimation>(&gradient, QStringLiteral("gradient-swing"));
    ASSERT_NE(swing, nullptr);
    EXPECT_EQ(swing->state(), QAbstractAnimation::Stopped);
    EXPECT_DOUBLE_EQ(gradient.phase(), 0.0);

    gradient.resize(100, 100);
    gradient.show();
    EXPECT_EQ(swing->state(), QAbstractAnimation::Running);
    EXPECT_EQ(swing->loopCount(), -1);
    swing->setCurrentTime(2000);
    EXPECT_NEAR(gradient.phase(), 1.0, 1e-9);
    swing->setCurrentTime(3000);
    EXPECT_NEAR(gradient.phase(), 0.5, 1e-3);

    gradient.hide();
    EXPECT_EQ(swing->state(), QAbstractAnimation::Stopped);
    EXPECT_DOUBLE_EQ(gradient.phase(), 0.0);
}

TEST_F(AnimatedGradient, AxisMovesStraightBetweenItsEnds)
{
    KestuAnimatedGradient gradient({ Qt::red, Qt::blue }, 2.0);
    gradient.resize(200, 100);
    EXPECT_EQ(gradient.axisAt(0), QLineF(0, 0, 200, 100));
    EXPECT_EQ(gradient.axisAt(0.5), QLineF(100, 0, 100, 100));
    EXPECT_EQ(gradient.axisAt(1), QLineF(200, 0, 0, 100));
    gradient.setAxisEnds({ QLineF(0, 0, 1, 1), QLineF(0.3, 0, 0.8, 1) });
    EXPECT_EQ(gradient.axisAt(1), QLineF(60, 0, 160, 100));
}

TEST_F(AnimatedGradient, StaysStillUnderReducedMotionOrAnUnusableDuration)
{
    setReducedMotionOverride(true);
    KestuAnimatedGradient reduced({ Qt::red, Qt::blue }, 2.0);
    reduced.show();
    EXPECT_NE(childNamed<QVariantAnimation>(&reduced, QStringLiteral("gradient-swing"))->state(),
        QAbstractAnimation::Running);

    setReducedMotionOverride(false);
    KestuAnimatedGradient broken({ Qt::red, Qt::blue }, std::nan(""));
    broken.show();
    EXPECT_NE(
        childNamed<QVariantAnimation>(&broken, QStringLiteral("gradient-swing"))->state(), QAbstractAnimation::Running);
    EXPECT_DOUBLE_EQ(broken.phase(), 0.0);
}

TEST_F(AnimatedGradient, DrawsFromTheTopLeadingCornerAndFlatForOneColour)
{
    KestuAnimatedGradient two({ QColor(255, 0, 0), QColor(0, 0, 255) }, 2.0);
    two.resize(100, 100);
    const QImage image = two.grab().toImage();
    EXPECT_GT(image.pixelColor(0, 0).red(), 240);
    EXPECT_GT(image.pixelColor(99, 99).blue(), 240);
    EXPECT_NEAR(image.pixelColor(99, 0).red(), 128, 8); // the other diagonal is half way

    KestuAnimatedGradient one({ QColor(10, 200, 30) }, 2.0);
    one.resize(40, 40);
    const QImage flat = one.grab().toImage();
    EXPECT_EQ(flat.pixelColor(0, 0), QColor(10, 200, 30));
    EXPECT_EQ(flat.pixelColor(39, 39), QColor(10, 200, 30));
}
