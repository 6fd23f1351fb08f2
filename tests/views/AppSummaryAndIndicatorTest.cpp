#include "Views/Popover/CompactAppSummary.h"
#include "Views/Popover/RunningIndicator.h"
#include "Views/Shared/ViewSymbols.h"
#include "kit/KitTestSupport.h"

#include <QImage>
#include <QSignalSpy>
#include <QVariantAnimation>

using namespace tremlor;

namespace {
QList<AppInfo> apps(int count)
{
    QList<AppInfo> list;
    for (int i = 0; i < count; ++i)
        list << AppInfo(QStringLiteral("org.example.App%1").arg(i), QStringLiteral("App %1").arg(i), QString());
    return list;
}
} // namespace

// Icons overlap by 2 points, at most maxIcons show, the rest become "+N"; the whole row,
// the empty stretch included, is the button.
TEST(CompactAppSummary, OverlapsTheFirstIconsAndCountsTheRest)
{
    ViewSymbols::registerAll();
    const struct {
        int count, maxIcons, icons;
        const char *overflow, *countText;
    } cases[] = {
        { 5, 5, 5, "", "5" },
        { 6, 5, 5, "+1", "6" },
        { 3, 0, 0, "+3", "3" },
        { 0, 5, 0, "", "None" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.count << " apps, " << c.maxIcons << " icons at most");
        CompactAppSummary summary(apps(c.count), c.maxIcons, 16);
        summary.resize(288, summary.sizeHint().height());
        const QList<QRectF> icons = summary.iconRects();
        ASSERT_EQ(icons.size(), c.icons);
        for (qsizetype i = 1; i < icons.size(); ++i)
            EXPECT_DOUBLE_EQ(icons[i].left(), icons[i - 1].right() - CompactAppSummary::iconOverlap);
        EXPECT_TRUE(icons.isEmpty() || icons.last().right() < summary.chevronRect().left());
        EXPECT_EQ(summary.overflowText(), QLatin1String(c.overflow));
        EXPECT_EQ(summary.countText(), QLatin1String(c.countText));
        EXPECT_EQ(summary.accessibleName(), QStringLiteral("Apps, %1 selected. Tap to expand.").arg(c.count));
    }

    CompactAppSummary summary(apps(7), 5, 16);
    summary.resize(288, summary.sizeHint().height());
    EXPECT_EQ(summary.shownAppsText(), QStringLiteral("Apps"));
    QSignalSpy taps(&summary, &QAbstractButton::clicked);
    QTest::mouseClick(&summary, Qt::LeftButton, {}, QPoint(120, summary.height() / 2)); // the spacer
    EXPECT_EQ(taps.size(), 1);

    // Short of room, "Apps" ends in "…" before the first icon instead of running under it: the
    // gap before the icons stays blank.
    summary.resize(summary.sizeHint().width() - 8, summary.height());
    EXPECT_TRUE(summary.shownAppsText().endsWith(QChar(0x2026))) << summary.shownAppsText().toStdString();
    const QImage drawn = summary.grab().toImage();
    const int iconsLeft = int(summary.iconRects().first().left());
    for (int x = iconsLeft - CompactAppSummary::spacing + 1; x < iconsLeft; ++x)
        for (int y = 0; y < drawn.height(); ++y)
            ASSERT_EQ(drawn.pixel(x, y), drawn.pixel(x, 0)) << "drawn at " << x << "," << y;
}

// The dot breathes only while its application is the session's target, keeps one running
// pulse across redraws, stops at once, and holds still with reduced motion or hidden.
TEST(RunningIndicator, PulsesOnlyForTheTargetWhileShownAndMotionIsAllowed)
{
    kittest::MotionOverride motion(false);
    QWidget host;
    auto* dot = new RunningIndicator(false, &host);
    host.show();

    dot->setActiveTarget(true);
    ASSERT_TRUE(dot->isPulsing());
    dot->pulse()->setCurrentTime(RunningIndicator::pulseHalfPeriodMs);
    EXPECT_NEAR(dot->pulseOpacity(), 0.6, 1e-9);
    dot->setActiveTarget(true); // a redraw with the same target
    EXPECT_EQ(dot->pulse()->currentTime(), RunningIndicator::pulseHalfPeriodMs);

    host.hide();
    EXPECT_FALSE(dot->isPulsing());
    host.show();
    EXPECT_TRUE(dot->isPulsing());

    dot->setActiveTarget(false);
    EXPECT_FALSE(dot->isPulsing());
    EXPECT_EQ(dot->pulseOpacity(), 1.0);

    auto* born = new RunningIndicator(true, &host);
    born->show();
    EXPECT_TRUE(born->isPulsing());

    kestu::setReducedMotionOverride(true);
    dot->setActiveTarget(true);
    EXPECT_FALSE(dot->isPulsing());
    EXPECT_EQ(dot->pulseOpacity(), 1.0);

    // The desktop's preference changing while the dot shows stops and resumes the pulse.
    auto* notifier = kestu::ReducedMotion::notifier();
    ASSERT_NE(notifier, nullptr);
    Q_EMIT notifier->changed(true);
    EXPECT_FALSE(born->isPulsing());
    kestu::setReducedMotionOverride(false);
    Q_EMIT notifier->changed(false);
    EXPECT_TRUE(born->isPulsing());
}
