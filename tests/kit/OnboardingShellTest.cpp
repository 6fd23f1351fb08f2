#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Onboarding/KestuOnboardingStepDots.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitCompositeSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <memory>
#include <vector>

using namespace kestu;

namespace {
class OnboardingShell : public CompositeTest {
protected:
    // A shell of `steps` pages inside its own window; the page builder records its calls.
    KestuOnboardingShell* make(int steps, std::function<void()> onComplete = {})
    {
        window = std::make_unique<QWidget>();
        window->resize(700, 500); // bigger than the shell: the shell keeps its own size
        auto* shell = new KestuOnboardingShell(
            steps, std::move(onComplete),
            [this](int step) {
                built.push_back(step);
                auto* page = new QLabel(QStringLiteral("page %1").arg(step));
                page->setObjectName(QStringLiteral("page-%1").arg(step));
                return page;
            },
            window.get());
        window->show();
        return shell;
    }

    static QAbstractButton* back(KestuOnboardingShell* shell)
    {
        return childNamed<QAbstractButton>(shell, QStringLiteral("onboarding-back"));
    }
    static QAbstractButton* primary(KestuOnboardingShell* shell)
    {
        return childNamed<QAbstractButton>(shell, QStringLiteral("onboarding-primary"));
    }
    static QVariantAnimation* transition(KestuOnboardingShell* shell)
    {
        return childNamed<QVariantAnimation>(shell, QStringLiteral("onboarding-page-transition"));
    }
    static void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<QWidget> window;
    std::vector<int> built;
};
} // namespace

TEST_F(OnboardingShell, StepsOfferTheRightButtons)
{
    KestuOnboardingShell* shell = make(4);
    EXPECT_EQ(shell->size(), QSize(540, 420));
    struct Expectation {
        int step;
        bool back;
        const char* primary;
    };
    const Expectation walk[]
        = { { 0, false, "Continue" }, { 1, true, "Continue" }, { 2, true, "Continue" }, { 3, true, "Get Started" } };
    for (const Expectation& e : walk) {
        SCOPED_TRACE(e.step);
        EXPECT_EQ(shell->currentStep(), e.step);
        EXPECT_EQ(back(shell)->isVisible(), e.back);
        EXPECT_EQ(primary(shell)->text(), QString::fromLatin1(e.primary));
        EXPECT_EQ(shell->currentPage()->objectName(), QStringLiteral("page-%1").arg(e.step));
        if (e.step < 3)
            press(primary(shell));
    }
    press(back(shell));
    EXPECT_EQ(shell->currentStep(), 2);
    EXPECT_EQ(primary(shell)->text(), QStringLiteral("Continue"));
    press(back(shell));
    press(back(shell));
    EXPECT_EQ(shell->currentStep(), 0);
    EXPECT_FALSE(back(shell)->isVisible());
    // One page built per step shown, never a step out of range.
    EXPECT_EQ(built, (std::vector<int> { 0, 1, 2, 3, 2, 1, 0 }));
}

TEST_F(OnboardingShell, OnePageShowsOneCurrentDotAndGetStarted)
{
    KestuOnboardingShell* shell = make(1);
    EXPECT_FALSE(back(shell)->isVisible());
    EXPECT_EQ(primary(shell)->text(), QStringLiteral("Get Started"));
    auto* dots = childNamed<KestuOnboardingStepDots>(shell, QStringLiteral("onboarding-dots"));
    ASSERT_NE(dots, nullptr);
    EXPECT_EQ(dots->count(), 1);
    EXPECT_DOUBLE_EQ(dots->scaleOf(0), 1.2);
    EXPECT_EQ(dots->colorOf(0).rgb(), Color::accent().resolve(dots).rgb());

    // Fewer than one page is read as one: nothing out of range is ever built.
    KestuOnboardingShell* none = make(0);
    EXPECT_EQ(none->totalSteps(), 1);
    EXPECT_EQ(built.back(), 0);
}

TEST_F(OnboardingShell, DotsSpringToTheNewStep)
{
    KestuOnboardingShell* shell = make(3);
    auto* dots = childNamed<KestuOnboardingStepDots>(shell, QStringLiteral("onboarding-dots"));
    press(primary(shell));
    EXPECT_EQ(dots->currentStep(), 1);
    auto* spring = childNamed<QVariantAnimation>(dots, QStringLiteral("step-dots-spring"));
    finish(spring);
    EXPECT_DOUBLE_EQ(dots->scaleOf(0), 1.0);
    EXPECT_DOUBLE_EQ(dots->scaleOf(1), 1.2);
    EXPECT_EQ(dots->colorOf(0).rgb(), Color::surfaceTertiary().resolve(dots).rgb());
    EXPECT_EQ(dots->colorOf(1).rgb(), Color::accent().resolve(dots).rgb());
}

TEST_F(OnboardingShell, GetStartedCompletesThenClosesItsOwnWindow)
{
    bool windowOpenDuringCallback = false;
    int completions = 0;
    QWidget other;
    other.show();
    other.activateWindow();
    KestuOnboardingShell* shell = make(2, [&] {
        ++completions;
        windowOpenDuringCallback = window->isVisible();
    });
    press(primary(shell));
    finish(transition(shell));
    press(primary(shell));
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(windowOpenDuringCallback);
    EXPECT_FALSE(window->isVisible());
    // Some other window being active changes nothing; and the step stays.
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(shell->currentStep(), 1);
}

TEST_F(OnboardingShell, CompletionMayTearDownTheWindow)
{
    // (A programmatic click: Qt guards the button itself against its own deletion.)
    KestuOnboardingShell* shell = make(1, [&] { window.reset(); });
    primary(shell)->click();
    EXPECT_EQ(window, nullptr);

    // A window that deletes itself on close goes away cleanly too.
    int completions = 0;
    KestuOnboardingShell* second = make(1, [&] { ++completions; });
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> watched = window.release();
    press(primary(second));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(watched.isNull());
}

TEST_F(OnboardingShell, PagesSlideInFromTheTrailingEdgeBothWays)
{
    KestuOnboardingShell* shell = make(3);
    QPointer<QWidget> first = shell->currentPage();
    press(primary(shell));
    QVariantAnimation* slide = transition(shell);
    ASSERT_EQ(slide->state(), QAbstractAnimation::Running);
    seek(slide, slide->duration() / 10);
    EXPECT_GT(shell->currentPage()->x(), 0);
    EXPECT_LT(first->x(), 0);
    finish(slide);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(shell->currentPage()->pos(), QPoint(0, 0));

    QPointer<QWidget> second = shell->currentPage();
    press(back(shell));
    seek(slide, slide->duration() / 10);
    EXPECT_GT(shell->currentPage()->x(), 0);
    EXPECT_LT(second->x(), 0);
}

TEST_F(OnboardingShell, QuickClicksLeaveOnePage)
{
    KestuOnboardingShell* shell = make(4);
    press(primary(shell));
    press(primary(shell));
    press(primary(shell));
    EXPECT_EQ(shell->currentStep(), 3);
    finish(transition(shell));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto pages = childNamed<QWidget>(shell, QStringLiteral("onboarding-page-area"))
                           ->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0]->objectName(), QStringLiteral("page-3"));
    EXPECT_EQ(pages[0]->geometry(), childNamed<QWidget>(shell, QStringLiteral("onboarding-page-area"))->rect());
}

TEST_F(OnboardingShell, ReducedMotionSwapsPagesAtOnce)
{
    setReducedMotionOverride(true);
    KestuOnboardingShell* shell = make(2);
    QPointer<QWidget> first = shell->currentPage();
    press(primary(shell));
    EXPECT_NE(transition(shell)->state(), QAbstractAnimation::Running);
    EXPECT_EQ(shell->currentPage()->pos(), QPoint(0, 0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST_F(OnboardingShell, MissingOrSharedPagesAreHandled)
{
    window = std::make_unique<QWidget>();
    auto* shared = new QLabel(QStringLiteral("one page for all"));
    QPointer<QLabel> watched = shared;
    int calls = 0;
    auto* shell = new KestuOnboardingShell(
        3, {},
        [&](int) {
            ++calls;
            return shared;
        },
        window.get());
    window->show();
    press(primary(shell));
    press(primary(shell));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(watched.isNull());
    EXPECT_EQ(shell->currentPage(), shared);

    auto* empty = new KestuOnboardingShell(
        2, {}, [](int) { return nullptr; }, window.get());
    press(childNamed<QAbstractButton>(empty, QStringLiteral("onboarding-primary")));
    EXPECT_NE(empty->currentPage(), nullptr);
}
