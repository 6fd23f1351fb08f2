#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingHeroPage.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "Views/Onboarding/OnboardingPermissionView.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/DisclosureToggle.h"
#include "Views/Popover/SectionReveal.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "Views/Shared/ViewSymbols.h"
#include "views/FakeEngine.h"
#include "views/KeyboardWalk.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>

#include <functional>

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

// Runs every animation under `root` to its end, as time would; those that end may start others.
void runAnimationsToTheEnd(QObject& root)
{
    for (int round = 0; round < 10; ++round) {
        QCoreApplication::processEvents();
        QList<QPointer<QAbstractAnimation>> running;
        for (auto* animation : root.findChildren<QAbstractAnimation*>()) {
            if (!animation->group() && animation->state() == QAbstractAnimation::Running)
                running << animation;
        }
        if (running.isEmpty())
            return;
        for (const auto& animation : running) {
            if (animation && animation->totalDuration() >= 0)
                animation->setCurrentTime(animation->totalDuration());
        }
    }
    ADD_FAILURE() << "animations keep running";
}

// How far the strongest ink inside `area` of the window's picture stands from its background,
// as a share of how far `ink` stands: 1 when something is drawn there at full strength.
double inkStrength(QWidget& window, const QRect& area, const QColor& ink)
{
    const QImage image = window.grab().toImage();
    const int background = qGray(window.palette().color(QPalette::Window).rgb());
    int strongest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, std::abs(qGray(image.pixel(x, y)) - background));
    return double(strongest) / std::max(1, std::abs(qGray(ink.rgb()) - background));
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
    kittest::showActive(*window); // the keyboard starts on Continue
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
        // A page that came takes the keyboard, so a screen reader speaks its title and text.
        EXPECT_EQ(step > 0, page->hasFocus());
        // Its texts are labels named by their text, found where they are drawn.
        QStringList labels;
        const std::function<void(QAccessibleInterface*)> collect = [&](QAccessibleInterface* a) {
            for (int i = 0; i < a->childCount(); ++i) {
                QAccessibleInterface* c = a->child(i);
                if (c->role() == QAccessible::StaticText) {
                    labels << c->text(QAccessible::Name);
                    EXPECT_EQ(a->childAt(c->rect().center().x(), c->rect().center().y()), c);
                    EXPECT_EQ(c->parent()->indexOfChild(c), i);
                }
                collect(c);
            }
        };
        collect(reader);
        EXPECT_TRUE(labels.contains(pages[step].title) && !labels.contains(QString()))
            << labels.join(u'|').toStdString();
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

// With normal motion every page ends fully shown: in place and opaque in the shell, the welcome
// and closing pages' symbols at full size with their titles and texts drawn at full strength,
// every feature card opaque in its place.
TEST(OnboardingWindow, NormalMotionEndsWithEveryPageFullyShown)
{
    TempDefaults temp;
    FakeAccessibility trust;
    kittest::MotionOverride motion(false);
    ViewSymbols::registerAll();
    OnboardingWindow window(temp.settings(), trust, {});
    window.show();
    kestu::KestuOnboardingShell& shell = window.shell();
    const QColor text = kestu::Color::text().resolve(&window);
    for (int step = 0; step < OnboardingWindow::stepCount; ++step) {
        SCOPED_TRACE(step);
        if (step > 0)
            QTest::mouseClick(button(shell, "onboarding-primary"), Qt::LeftButton);
        QWidget* page = shell.currentPage();
        auto* hero = qobject_cast<kestu::KestuOnboardingHeroPage*>(page);
        auto* grid = qobject_cast<kestu::KestuOnboardingFeatureGrid*>(page);
        if (hero) {
            EXPECT_EQ(hero->textOpacity(), 0.0) << "the text fades in";
        }
        runAnimationsToTheEnd(window);
        window.repaint();
        EXPECT_EQ(shell.pageOpacity(page), 1.0);
        EXPECT_EQ(page->parentWidget()->geometry(), page->parentWidget()->parentWidget()->rect());
        if (hero) {
            EXPECT_EQ(hero->iconScale(), 1.0);
            EXPECT_EQ(hero->textOpacity(), 1.0);
            const QWidget* icon = hero->findChild<QWidget*>(QStringLiteral("onboarding-icon"));
            const QWidget* title = hero->findChild<QWidget*>(QStringLiteral("onboarding-title"));
            EXPECT_GT(
                inkStrength(window, QRect(icon->mapTo(&window, QPoint()), icon->size()), hero->iconTopColor()), 0.8);
            EXPECT_GT(inkStrength(window, QRect(title->mapTo(&window, QPoint()), title->size()), text), 0.8);
        }
        if (grid) {
            ASSERT_EQ(grid->cardCount(), 6);
            for (int i = 0; i < grid->cardCount(); ++i) {
                EXPECT_EQ(grid->cardOpacity(i), 1.0) << i;
                EXPECT_EQ(grid->cardOffset(i), 0.0) << i;
                const QRect card = grid->cardRect(i).toAlignedRect().translated(grid->mapTo(&window, QPoint()));
                EXPECT_GT(inkStrength(window, card, text), 0.8) << i;
            }
        }
    }
}

// Keyboard alone, as in a dialog: Tab reaches every button of the window and Return presses the
// focused one: Continue, the permission page's two buttons, Back, and "Get Started", which stores
// that onboarding is complete. The accessible press reaches the same buttons.
TEST(OnboardingWindow, ReturnAndTheAccessiblePressWorkEveryButton)
{
    TempDefaults temp;
    FakeAccessibility trust;
    trust.trusted = false;
    kittest::MotionOverride reduced(true);
    ViewSymbols::registerAll();
    int settingsOpened = 0;
    QPointer<OnboardingWindow> window = new OnboardingWindow(temp.settings(), trust, [&] { ++settingsOpened; });
    window->setAttribute(Qt::WA_DeleteOnClose);
    kittest::showActive(*window);
    const auto returnOn = [&](const char* name) {
        QAbstractButton* target = button(*window, name);
        ASSERT_NE(target, nullptr) << name;
        for (int i = 0; i < 8 && !target->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(target->hasFocus()) << name;
        QTest::keyClick(target, Qt::Key_Return);
    };
    const auto press = [&](const char* name) {
        QAccessible::queryAccessibleInterface(button(*window, name))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    };
    button(*window, "onboarding-primary")->setFocus();
    returnOn("onboarding-primary");
    // The page came with the keyboard, the kit's ring round it; Return there goes on, as on a
    // dialog's body.
    QWidget* page = window->shell().currentPage();
    ASSERT_EQ(QApplication::focusWidget(), page);
    const QColor ring = page->parentWidget()->grab().toImage().pixelColor(page->width() / 2, 0);
    EXPECT_TRUE(kittest::near(ring, kestu::Color::accent().resolve(page), 40)) << ring.name().toStdString();
    QTest::keyClick(page, Qt::Key_Return);
    ASSERT_EQ(window->shell().currentStep(), 2);
    returnOn("grant-permission-button");
    EXPECT_EQ(trust.requests, 1);
    returnOn("open-system-settings-button");
    EXPECT_EQ(settingsOpened, 1);
    press("open-system-settings-button");
    EXPECT_TRUE(QTest::qWaitFor([&] { return settingsOpened == 2; }, 1000));
    returnOn("onboarding-back");
    EXPECT_EQ(window->shell().currentStep(), 1);
    press("onboarding-primary");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->shell().currentStep() == 2; }, 1000));
    returnOn("onboarding-primary");
    ASSERT_EQ(window->shell().currentStep(), 3);
    EXPECT_FALSE(temp.settings().hasCompletedOnboarding());
    returnOn("onboarding-primary");
    EXPECT_TRUE(temp.settings().hasCompletedOnboarding());
    temp.reopen();
    EXPECT_TRUE(temp.settings().hasCompletedOnboarding());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

// Page by page, Tab reaches the page's own buttons first and then the bar, as in a dialog; each
// stop is named and shows its focus. Space on Continue turns the page.
TEST(OnboardingWindow, TabReachesThePageBeforeTheBar)
{
    TempDefaults temp;
    FakeAccessibility trust;
    trust.trusted = false;
    kittest::MotionOverride reduced(true);
    ViewSymbols::registerAll();
    OnboardingWindow window(temp.settings(), trust, {});
    kittest::showActive(window);
    const QStringList pages[] = { { "onboarding-primary" }, { "onboarding-back", "onboarding-primary" },
        { "grant-permission-button", "open-system-settings-button", "onboarding-back", "onboarding-primary" } };
    for (const QStringList& expected : pages) {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        EXPECT_EQ(viewtest::tabStops(&window), expected);
        QTest::keyClick(button(window, "onboarding-primary"), Qt::Key_Space);
    }
    EXPECT_EQ(window.shell().currentStep(), 3);
}
