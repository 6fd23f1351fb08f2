#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "Views/Onboarding/OnboardingPermissionView.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/DisclosureToggle.h"
#include "Views/Popover/SectionReveal.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "Views/Shared/ViewSymbols.h"
#include "views/FakeEngine.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>

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

// Paints `window` half-way through a running `animation` and again at its end.
void paintThrough(QWidget& window, QVariantAnimation* animation = nullptr)
{
    QCoreApplication::processEvents();
    if (animation && animation->state() == QAbstractAnimation::Running) {
        animation->setCurrentTime(animation->duration() / 2);
        window.repaint();
        animation->setCurrentTime(animation->duration());
    }
    window.repaint();
}
} // namespace

// Untrusted: one timer polling once a second, never two however often a button is pressed;
// leaving the page stops it; granting turns the page and stops it. Trusted at once: no timer.
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
    EXPECT_EQ(first->interval(), 1000);
    button(page, "grant-permission-button")->click();
    button(page, "grant-permission-button")->click();
    button(page, "open-system-settings-button")->click();
    EXPECT_EQ(trust.requests, 2);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_FALSE(first);
    EXPECT_EQ(page.findChildren<QTimer*>().size(), 1);
    page.hide();
    EXPECT_EQ(page.checkTimer(), nullptr);

    page.show();
    trust.trusted = true;
    page.checkTimer()->setInterval(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.permissionGranted(); }));
    EXPECT_EQ(page.checkTimer(), nullptr);
    EXPECT_FALSE(button(page, "grant-permission-button")->isVisible());

    FakeAccessibility granted;
    OnboardingPermissionView already(granted, {});
    already.show();
    EXPECT_TRUE(already.permissionGranted());
    EXPECT_EQ(already.checkTimer(), nullptr);
}

// Four pages in order; "Get Started" records completion and closes the window.
TEST(OnboardingWindow, GetStartedCompletesAndClosesTheWindow)
{
    TempDefaults temp;
    FakeAccessibility trust;
    trust.trusted = false;
    // Pages swap at once and appear whole.
    kittest::MotionOverride reduced(true);
    ViewSymbols::registerAll();
    QPointer<OnboardingWindow> window = new OnboardingWindow(temp.settings(), trust, {});
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    const struct {
        const char *name, *title; // the title is what a screen reader announces for the page
    } pages[] = { { "onboarding-welcome", "Welcome to Tremlor" }, { "onboarding-features", "What Tremlor Does" },
        { "onboarding-permission", "Accessibility Permission" }, { "onboarding-complete", "You're All Set!" } };
    for (int step = 0; step < 4; ++step) {
        QWidget* page = window->shell().currentPage();
        EXPECT_EQ(page->objectName(), pages[step].name) << step;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(page);
        EXPECT_EQ(reader->text(QAccessible::Name), pages[step].title);
        EXPECT_FALSE(reader->text(QAccessible::Description).isEmpty()) << step;
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

// A normal run prints no Qt warning: the onboarding walked with its slides (the permission
// granted on the way), the panel's options closing and opening, the settings window at every
// section. An effect drawn inside another, for one, prints "QPainter::begin".
TEST(QuietRun, OnboardingPanelAndSettingsWarnOfNothing)
{
    static QStringList messages;
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
              // (The offscreen platform's own note; X11 takes size hints.)
              if (type != QtDebugMsg && type != QtInfoMsg && !text.contains(QLatin1String("propagateSizeHints")))
                  messages << text;
          });
    kittest::MotionOverride motion(false);
    ViewSymbols::registerAll();
    settingstest::Fixture f;
    f.accessibility.trusted = false;
    {
        OnboardingWindow onboarding(f.settings(), f.accessibility, {});
        onboarding.show();
        for (int step = 1; step < OnboardingWindow::stepCount; ++step) {
            button(onboarding, "onboarding-primary")->click();
            paintThrough(onboarding, onboarding.findChild<QVariantAnimation*>("onboarding-page-transition"));
            if (auto* page = qobject_cast<OnboardingPermissionView*>(onboarding.shell().currentPage())) {
                f.accessibility.trusted = true;
                page->checkTimer()->setInterval(0);
                EXPECT_TRUE(QTest::qWaitFor([page] { return page->permissionGranted(); }));
                paintThrough(onboarding);
            }
        }
    }
    {
        ::testing::NiceMock<viewtest::FakeEngine> engine;
        f.settings().setPopoverExpanded(true);
        TremlorPopoverView panel(f.settings(), engine, [] { return std::make_unique<settingstest::ListScanner>(); });
        panel.show();
        for (int i = 0; i < 3; ++i) {
            paintThrough(panel, panel.expandedReveal()->animation());
            panel.disclosureToggle()->click();
        }
    }
    for (SettingsSection section : allCases<SettingsSection>()) {
        SettingsWindow window(f.context, section);
        window.show();
        paintThrough(window);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}
