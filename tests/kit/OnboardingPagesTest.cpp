#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitCompositeSupport.h"

#include <QAbstractAnimation>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

using namespace kestu;

namespace {
class OnboardingPages : public CompositeTest { };

QList<KestuOnboardingFeature> features(int count)
{
    QList<KestuOnboardingFeature> list;
    for (int i = 0; i < count; ++i)
        list.append(KestuOnboardingFeature(QStringLiteral("pencil"), QStringLiteral("Feature %1").arg(i),
            QStringLiteral("What feature %1 does").arg(i)));
    return list;
}
} // namespace

TEST_F(OnboardingPages, WelcomeSpringsTheIconThenFadesTheTitleIn)
{
    KestuOnboardingWelcomeView page(
        QStringLiteral("Tremlor"), QStringLiteral("pencil"), QStringLiteral("Stay awake.\nStay active."), std::nullopt);
    EXPECT_EQ(page.title(), QStringLiteral("Welcome to Tremlor"));
    // The name is inserted once, never scanned for markers itself.
    EXPECT_EQ(KestuOnboardingWelcomeView::titleFor(QStringLiteral("%1 & %2")), QStringLiteral("Welcome to %1 & %2"));
    EXPECT_EQ(page.detail(), QStringLiteral("Stay awake.\nStay active."));
    EXPECT_DOUBLE_EQ(page.iconScale(), 0.5);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 0.0);

    page.resize(540, 360);
    page.show();
    auto* spring = childNamed<QVariantAnimation>(&page, QStringLiteral("icon-spring"));
    auto* text = childNamed<QSequentialAnimationGroup>(&page, QStringLiteral("text-entrance"));
    ASSERT_EQ(spring->state(), QAbstractAnimation::Running);
    EXPECT_EQ(text->totalDuration(), 300 + 400);
    seek(text, 299);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 0.0);
    seek(text, 500);
    EXPECT_GT(page.textOpacity(), 0.0);
    EXPECT_LT(page.textOpacity(), 1.0);
    finish(text);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 1.0);
    seek(spring, spring->duration() / 4);
    EXPECT_GT(page.iconScale(), 0.5);
    finish(spring);
    EXPECT_NEAR(page.iconScale(), 1.0, 1e-9);

    // Showing the page again does not replay its entrance.
    page.hide();
    page.show();
    EXPECT_EQ(spring->state(), QAbstractAnimation::Stopped);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 1.0);
}

TEST_F(OnboardingPages, WelcomeIconTakesTheGradientOrTheAccent)
{
    KestuOnboardingWelcomeView accent(QStringLiteral("A"), QStringLiteral("pencil"), QString(), std::nullopt);
    EXPECT_EQ(accent.iconTopColor().rgb(), Color::accent().resolve(&accent).rgb());

    KestuOnboardingWelcomeView shaded(
        QStringLiteral("A"), QStringLiteral("pencil"), QString(), QList<QColor> { Qt::red, Qt::blue });
    EXPECT_EQ(shaded.iconTopColor(), QColor(Qt::red));
    EXPECT_EQ(shaded.iconBottomColor(), QColor(Qt::blue));

    // Present but empty still takes the gradient: nothing to fill with.
    KestuOnboardingWelcomeView empty(QStringLiteral("A"), QStringLiteral("pencil"), QString(), QList<QColor> {});
    EXPECT_EQ(empty.iconTopColor().alpha(), 0);
}

TEST_F(OnboardingPages, CompletionShowsItsOwnTitleWhateverTheName)
{
    KestuOnboardingCompleteView page(QStringLiteral("Something Else"), QStringLiteral("Find it in the tray."));
    EXPECT_EQ(page.title(), QStringLiteral("You're All Set!"));
    EXPECT_EQ(page.detail(), QStringLiteral("Find it in the tray."));
    EXPECT_EQ(page.symbolName(), QStringLiteral("checkmark.circle.fill"));
    EXPECT_TRUE(KestuSymbols::contains(page.symbolName()));
    EXPECT_EQ(page.iconTopColor().rgb(), Color::success().resolve(&page).rgb());
    EXPECT_DOUBLE_EQ(page.iconScale(), 0.5);

    setReducedMotionOverride(true);
    page.show();
    EXPECT_DOUBLE_EQ(page.iconScale(), 1.0);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 1.0);
}

TEST_F(OnboardingPages, GridFillsTwoColumnsRowByRow)
{
    KestuOnboardingFeatureGrid grid(QStringLiteral("What it does"), features(5));
    grid.resize(540, 420);
    ASSERT_EQ(grid.cardCount(), 5);
    const double left = grid.cardRect(0).left();
    const double right = grid.cardRect(1).left();
    EXPECT_DOUBLE_EQ(left, 24.0);
    EXPECT_DOUBLE_EQ(grid.cardRect(1).right(), 540.0 - 24.0);
    EXPECT_DOUBLE_EQ(right - grid.cardRect(0).right(), 16.0);
    EXPECT_DOUBLE_EQ(grid.cardRect(0).width(), grid.cardRect(1).width());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(grid.feature(i).title, QStringLiteral("Feature %1").arg(i));
        EXPECT_DOUBLE_EQ(grid.cardRect(i).left(), i % 2 == 0 ? left : right);
        if (i >= 2) {
            EXPECT_NEAR(grid.cardRect(i).top() - grid.cardRect(i - 2).bottom(), 12.0, 1e-9);
        }
    }
    // The odd card out sits alone in the leading column, which is on the right in RTL.
    EXPECT_GT(grid.cardRect(4).top(), grid.cardRect(3).bottom());
    grid.setLayoutDirection(Qt::RightToLeft);
    EXPECT_DOUBLE_EQ(grid.cardRect(0).left(), right);
    EXPECT_DOUBLE_EQ(grid.cardRect(4).left(), right);
}

TEST_F(OnboardingPages, GridCardsEnterOneAfterAnother)
{
    // Two equal features are two cards, each with its own delay.
    QList<KestuOnboardingFeature> list = features(5);
    list.append(list.first());
    KestuOnboardingFeatureGrid grid(QStringLiteral("What it does"), list);
    grid.resize(540, 420);
    for (int i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(grid.cardOpacity(i), 0.0);
        EXPECT_DOUBLE_EQ(grid.cardOffset(i), 10.0);
    }
    EXPECT_TRUE(grid.visibleCards().isEmpty());

    grid.show();
    EXPECT_EQ(grid.visibleCards().size(), 6);
    EXPECT_EQ(KestuOnboardingFeatureGrid::entranceDelayMs(5), 400);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        QAbstractAnimation* entrance = grid.cardEntrance(i);
        ASSERT_NE(entrance, nullptr);
        EXPECT_EQ(entrance->totalDuration(), i * 80 + 350);
        seek(entrance, i * 80);
        EXPECT_DOUBLE_EQ(grid.cardOpacity(i), 0.0);
        seek(entrance, i * 80 + 175);
        EXPECT_GT(grid.cardOpacity(i), 0.5); // eased out: most of the way at half time
        EXPECT_GT(grid.cardOffset(i), 0.0);
        finish(entrance);
        EXPECT_DOUBLE_EQ(grid.cardOpacity(i), 1.0);
        EXPECT_DOUBLE_EQ(grid.cardOffset(i), 0.0);
    }
    QAbstractAnimation* first = grid.cardEntrance(0);
    grid.hide();
    grid.show();
    EXPECT_EQ(grid.cardEntrance(0), first);
    EXPECT_EQ(first->state(), QAbstractAnimation::Stopped);
    EXPECT_DOUBLE_EQ(grid.cardOpacity(0), 1.0);
}

TEST_F(OnboardingPages, GridEdgeCases)
{
    KestuOnboardingFeatureGrid empty(QStringLiteral("Nothing"), {});
    empty.show();
    EXPECT_EQ(empty.cardCount(), 0);
    EXPECT_TRUE(empty.findChildren<QAbstractAnimation*>().isEmpty());
    EXPECT_GT(empty.heightForWidth(540), 24);

    setReducedMotionOverride(true);
    KestuOnboardingFeatureGrid calm(QStringLiteral("Calm"), features(3));
    calm.show();
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(calm.cardOpacity(i), 1.0);
        EXPECT_DOUBLE_EQ(calm.cardOffset(i), 0.0);
    }
}

TEST_F(OnboardingPages, CardDescriptionStopsAtTwoLines)
{
    const KestuOnboardingFeatureCard card(KestuOnboardingFeature(QStringLiteral("pencil"), QStringLiteral("Title"),
        QStringLiteral("A description that goes on and on well past what two short lines can hold in a card")));
    const QStringList lines = card.subtitleLines(140);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    EXPECT_TRUE(card.subtitleLines(2000).size() == 1);

    const KestuOnboardingFeatureCard broken(
        KestuOnboardingFeature(QStringLiteral("pencil"), QStringLiteral("T"), QStringLiteral("one\ntwo\nthree")));
    const QStringList split = broken.subtitleLines(400);
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[0], QStringLiteral("one"));
    EXPECT_EQ(split[1], QStringLiteral("two") + QChar(0x2026));
    // Height follows the lines used.
    EXPECT_GT(card.heightForWidth(140), card.heightForWidth(2000));
}
