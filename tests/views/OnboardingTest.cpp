#include "Helpers/AccessibilityChecking.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Onboarding/OnboardingPermissionView.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Shared/ViewSymbols.h"
#include "core/TempDefaults.h"
#include "views/SettingsTestSupport.h"
#include "views/ViewTestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tremlor;
using settingstest::FakeAccessibility;

namespace {
QAbstractButton* button(QWidget& root, const char* name)
{
    return root.findChild<QAbstractButton*>(QString::fromLatin1(name));
}

void clickPrimary(kestu::KestuOnboardingShell& shell)
{
    button(shell, "onboarding-primary")->click();
    QTest::qWait(1); // the page transition starts on the next turn
}
} // namespace

// Untrusted: one timer, never two however often a button is pressed; granting turns the page
// and stops the timer; leaving the page stops it too. Trusted at once: no timer, no buttons.
TEST(OnboardingPermission, PollsOnceASecondUntilGrantedOrLeft)
{
    FakeAccessibility trust;
    trust.trusted = false;
    int settingsOpened = 0;
    OnboardingPermissionView page(trust, [&] { ++settingsOpened; });
    page.show();
    EXPECT_FALSE(page.permissionGranted());
    QPointer<QTimer> first = page.checkTimer();
    ASSERT_TRUE(first);
    EXPECT_TRUE(button(page, "grant-permission-button")->isVisible());

    button(page, "grant-permission-button")->click();
    button(page, "grant-permission-button")->click();
    button(page, "open-system-settings-button")->click();
    EXPECT_EQ(trust.requests, 2);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_FALSE(first);
    EXPECT_EQ(page.findChildren<QTimer*>().size(), 1);

    trust.trusted = true;
    QTest::qWait(1100);
    EXPECT_TRUE(page.permissionGranted());
    EXPECT_EQ(page.checkTimer(), nullptr);
    EXPECT_FALSE(button(page, "grant-permission-button")->isVisible());
    EXPECT_EQ(page.findChild<QLabel*>("permission-message")->text(), "Permission granted! Tremlor is ready to go.");

    page.hide();
    EXPECT_EQ(page.checkTimer(), nullptr);

    FakeAccessibility granted;
    OnboardingPermissionView already(granted, {});
    already.show();
    EXPECT_TRUE(already.permissionGranted());
    EXPECT_EQ(already.checkTimer(), nullptr);
}

// Four pages in order; "Get Started" records completion and closes the window; closing it
// earlier leaves onboarding to come back.
TEST(OnboardingWindow, GetStartedCompletesAndClosingEarlyDoesNot)
{
    TempDefaults temp;
    FakeAccessibility trust;
    trust.trusted = false;
    // Pages swap at once and appear whole.
    viewtest::MotionOverride reduced(true);
    ViewSymbols::registerAll();
    {
        OnboardingWindow early(temp.settings(), trust, {});
        early.show();
        clickPrimary(early.shell());
        early.close();
        EXPECT_FALSE(temp.settings().hasCompletedOnboarding());
    }
    QPointer<OnboardingWindow> window = new OnboardingWindow(temp.settings(), trust, {});
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    const char* pages[]
        = { "onboarding-welcome", "onboarding-features", "onboarding-permission", "onboarding-complete" };
    for (int step = 0; step < 4; ++step) {
        EXPECT_EQ(window->shell().currentPage()->objectName(), pages[step]) << step;
        if (auto* grid = qobject_cast<kestu::KestuOnboardingFeatureGrid*>(window->shell().currentPage())) {
            // All six cards lie inside the page, none clipped by the bottom bar.
            ASSERT_EQ(grid->cardCount(), 6);
            for (int i = 0; i < grid->cardCount(); ++i)
                EXPECT_TRUE(QRectF(grid->rect()).contains(grid->cardRect(i))) << i << grid->cardRect(i).bottom();
        }
        clickPrimary(window->shell());
    }
    EXPECT_TRUE(temp.settings().hasCompletedOnboarding());
    temp.reopen();
    EXPECT_TRUE(temp.settings().hasCompletedOnboarding());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}
