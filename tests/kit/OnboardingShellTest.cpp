#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Onboarding/KestuOnboardingStepDots.h"
#include "KitCompositeSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariantAnimation>

#include <memory>
#include <vector>

using namespace kestu;

namespace {
class OnboardingShell : public CompositeTest {
protected:
    // A shell of `steps` pages inside its own window; the page builder records its calls.
    KestuOnboardingShell* make(
        int steps, std::function<void()> onComplete = {}, std::function<QWidget*(int)> builder = {})
    {
        window = std::make_unique<QWidget>();
        window->resize(700, 500); // bigger than the shell: the shell keeps its own size
        if (!builder)
            builder = [this](int step) {
                built.push_back(step);
                auto* page = new QLabel(QStringLiteral("page %1").arg(step));
                page->setObjectName(QStringLiteral("page-%1").arg(step));
                return page;
            };
        auto* shell = new KestuOnboardingShell(steps, std::move(onComplete), std::move(builder), window.get());
        window->show();
        return shell;
    }

    static auto* back(QWidget* s) { return s->findChild<QAbstractButton*>("onboarding-back"); }
    static auto* primary(QWidget* s) { return s->findChild<QAbstractButton*>("onboarding-primary"); }
    static auto* dots(QWidget* s) { return s->findChild<KestuOnboardingStepDots*>("onboarding-dots"); }
    static auto* transition(QWidget* s) { return s->findChild<QVariantAnimation*>("onboarding-page-transition"); }
    static void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Where a page is drawn: its holder's place in the page area.
    static int xOf(QWidget* page) { return page->parentWidget()->x(); }

    std::unique_ptr<QWidget> window;
    std::vector<int> built;
};
} // namespace

// Each step offers its buttons; with reduced motion pages swap at once and the old one goes.
TEST_F(OnboardingShell, StepsOfferTheRightButtons)
{
    setReducedMotionOverride(true);
    KestuOnboardingShell* shell = make(4);
    QPointer<QWidget> previous;
    const struct {
        int step;
        bool back;
        const char* primary;
    } walk[]
        = { { 0, false, "Continue" }, { 1, true, "Continue" }, { 2, true, "Continue" }, { 3, true, "Get Started" } };
    for (const auto& e : walk) {
        SCOPED_TRACE(e.step);
        EXPECT_EQ(shell->currentStep(), e.step);
        EXPECT_EQ(back(shell)->isVisible(), e.back);
        EXPECT_EQ(primary(shell)->text(), QString::fromLatin1(e.primary));
        EXPECT_EQ(dots(shell)->emphasis(e.step), 1.0);
        EXPECT_EQ(shell->currentPage()->objectName(), QStringLiteral("page-%1").arg(e.step));
        EXPECT_NE(transition(shell)->state(), QAbstractAnimation::Running);
        EXPECT_EQ(xOf(shell->currentPage()), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(previous.isNull());
        previous = shell->currentPage();
        if (e.step < 3)
            press(primary(shell));
    }
    press(back(shell));
    EXPECT_EQ(primary(shell)->text(), QStringLiteral("Continue"));
    press(back(shell));
    press(back(shell));
    EXPECT_EQ(shell->currentStep(), 0);
    // One page built per step shown, never a step out of range.
    EXPECT_EQ(built, (std::vector<int> { 0, 1, 2, 3, 2, 1, 0 }));
    // Fewer than one page is read as one.
    EXPECT_EQ(make(0)->totalSteps(), 1);
    EXPECT_EQ(built.back(), 0);
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

    // The completion may tear the window down itself (a window deleted on close is walked
    // through by the onboarding window's own test). A programmatic click: Qt guards the button
    // itself against its own deletion.
    primary(make(1, [&] { window.reset(); }))->click();
    EXPECT_EQ(window, nullptr);
}

TEST_F(OnboardingShell, QuickClicksLeaveOnePage)
{
    KestuOnboardingShell* shell = make(4);
    for (int i = 0; i < 3; ++i)
        press(primary(shell));
    EXPECT_EQ(shell->currentStep(), 3);
    // Early in the slide the new page shows in part, faded without a graphics effect (which
    // would break the effects of the page's own widgets).
    transition(shell)->setCurrentTime(transition(shell)->duration() / 8);
    EXPECT_GT(shell->pageOpacity(shell->currentPage()), 0.0);
    EXPECT_LT(shell->pageOpacity(shell->currentPage()), 0.9);
    EXPECT_EQ(shell->currentPage()->parentWidget()->graphicsEffect(), nullptr);
    finish(transition(shell));
    EXPECT_EQ(shell->pageOpacity(shell->currentPage()), 1.0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QWidget* area = shell->findChild<QWidget*>(QStringLiteral("onboarding-page-area"));
    const auto holders = area->findChildren<QWidget*>(QStringLiteral("onboarding-page"), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(holders.size(), 1);
    EXPECT_EQ(holders[0]->geometry(), area->rect());
    EXPECT_EQ(shell->currentPage()->objectName(), QStringLiteral("page-3"));
    EXPECT_EQ(shell->currentPage()->size(), area->size() - QSize(6, 6)) << "room for the ring of 2 + 1 around";
}

TEST_F(OnboardingShell, MissingSharedOrReturningPagesAreSafe)
{
    // A builder that keeps its pages and hands the same widget back for steps 1 and 2.
    QPointer<QWidget> cache[2];
    KestuOnboardingShell* shell = make(3, {}, [&](int step) -> QWidget* {
        QPointer<QWidget>& slot = cache[std::min(step, 1)];
        if (!slot)
            slot = new QLabel(QStringLiteral("page"));
        return slot;
    });
    press(primary(shell));
    press(primary(shell));
    EXPECT_EQ(shell->currentPage(), cache[1]);
    // Back while page 0 is still sliding out: the builder hands it back, and it must survive.
    press(back(shell));
    press(back(shell));
    press(primary(shell));
    press(back(shell));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(cache[0].isNull());
    EXPECT_EQ(shell->currentPage(), cache[0]);
    EXPECT_TRUE(cache[0]->isVisible());

    KestuOnboardingShell* empty = make(2, {}, [](int) { return nullptr; });
    press(primary(empty));
    EXPECT_NE(empty->currentPage(), nullptr);
}

// As in a dialog, Return or keypad Enter presses the focused button of the bar; a modified
// Return does not. (The onboarding window's own test walks every button, a page's included.)
TEST_F(OnboardingShell, ReturnPressesTheFocusedButton)
{
    setReducedMotionOverride(true);
    KestuOnboardingShell* shell = make(3);
    kittest::showActive(*window);
    const struct {
        QAbstractButton* (*button)(QWidget*);
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int step;
    } presses[] = { { primary, Qt::Key_Return, {}, 1 }, { primary, Qt::Key_Enter, Qt::KeypadModifier, 2 },
        { back, Qt::Key_Return, {}, 1 }, { primary, Qt::Key_Return, Qt::ControlModifier, 1 } };
    for (const auto& p : presses) {
        QAbstractButton* focused = p.button(shell);
        focused->setFocus();
        ASSERT_TRUE(focused->hasFocus());
        QTest::keyClick(focused, p.key, p.modifiers);
        EXPECT_EQ(shell->currentStep(), p.step) << focused->objectName().toStdString() << p.key;
    }
}
