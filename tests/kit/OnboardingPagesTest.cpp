#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitCompositeSupport.h"

using namespace kestu;

namespace {
class OnboardingPages : public CompositeTest { };
} // namespace

// The welcome icon takes the accent without a gradient and nothing from an empty one;
// the completion page keeps its own title whatever the name, and shows whole at once with
// reduced motion.
TEST_F(OnboardingPages, IconColoursAndTheCompletionPage)
{
    KestuOnboardingWelcomeView accent(QStringLiteral("A"), QStringLiteral("pencil"), QString(), std::nullopt);
    EXPECT_EQ(accent.iconTopColor().rgb(), Color::accent().resolve(&accent).rgb());
    KestuOnboardingWelcomeView empty(QStringLiteral("A"), QStringLiteral("pencil"), QString(), QList<QColor> {});
    EXPECT_EQ(empty.iconTopColor().alpha(), 0);

    KestuOnboardingCompleteView page(QStringLiteral("Something Else"), QStringLiteral("Find it in the tray."));
    EXPECT_EQ(page.title(), QStringLiteral("You're All Set!"));
    setReducedMotionOverride(true);
    page.show();
    EXPECT_DOUBLE_EQ(page.iconScale(), 1.0);
    EXPECT_DOUBLE_EQ(page.textOpacity(), 1.0);
}

TEST_F(OnboardingPages, GridEdgeCases)
{
    KestuOnboardingFeatureGrid empty(QStringLiteral("Nothing"), {});
    empty.show();
    EXPECT_EQ(empty.cardCount(), 0);

    setReducedMotionOverride(true);
    const KestuOnboardingFeature feature("pencil", "Feature", "What it does");
    KestuOnboardingFeatureGrid calm(QStringLiteral("Calm"), { feature, feature, feature });
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
