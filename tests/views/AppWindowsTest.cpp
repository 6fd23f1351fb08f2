#include "App/AppWindows.h"

#include "App/MenuBarLabel.h"
#include "App/PanelPopup.h"
#include "CompositionRoot.h"
#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "TremlorApp.h"
#include "core/EngineFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>

using namespace tremlor;

namespace {
class AppWindowsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            delete window;
    }

    // Content that counts how often it is made.
    static AppWindows::ContentFactory counted(int& made, const char* text)
    {
        return [&made, text] { return ++made, new QLabel(text); };
    }

    int settingsMade = 0, onboardingMade = 0;
    AppWindows windows { counted(settingsMade, "settings"), counted(onboardingMade, "onboarding") };
};
} // namespace

// Opening hides floating windows (the panel, tool and stay-on-top windows) but no normal one.
// Reused while shown; a minimised one is replaced; closing the replaced one leaves the newer
// one held (closing the held one: see the teardown tests).
TEST_F(AppWindowsTest, SettingsWindowIsReusedReplacedAndForgotten)
{
    PanelPopup panel([](QWidget* parent) { return new QLabel("panel", parent); });
    QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), normal;
    for (QWidget* window : std::initializer_list<QWidget*> { &panel, &onTop, &normal })
        window->show();
    windows.openSettingsWindow();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(onTop.isVisible());
    EXPECT_TRUE(normal.isVisible());
    QPointer<QWidget> first = windows.settingsWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    normal.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&normal));
    windows.openSettingsWindow();
    EXPECT_EQ(windows.settingsWindow(), first.data());
    EXPECT_TRUE(QTest::qWaitForWindowActive(first)); // brought forward
    EXPECT_EQ(settingsMade, 1);

    first->setWindowState(first->windowState() | Qt::WindowMinimized); // offscreen: only the state
    windows.openSettingsWindow();
    QPointer<QWidget> second = windows.settingsWindow();
    EXPECT_EQ(settingsMade, 2);
    ASSERT_NE(second.data(), first.data());

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_EQ(windows.settingsWindow(), second.data());
}

// The onboarding window is found by its title (never a second one) and comes half a second
// after a first launch only (closing it: see the teardown tests).
TEST_F(AppWindowsTest, OnboardingWindowIsFoundByTitleAndDeletedOnce)
{
    windows.showOnboardingIfNeeded(true);
    QTest::qWait(AppWindows::onboardingDelayMs + 100);
    EXPECT_EQ(onboardingMade, 0);

    windows.showOnboardingIfNeeded(false);
    EXPECT_EQ(AppWindows::findOnboardingWindow(), nullptr);
    QTest::qWait(AppWindows::onboardingDelayMs + 100);
    QPointer<QWidget> window = AppWindows::findOnboardingWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    // Fixed size, close button only: the window manager offers no maximise, minimise or resize.
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    windows.showOnboarding();
    EXPECT_EQ(onboardingMade, 1);
}

// The panel opens on the screen's free area: centred under a top tray, upward above a bottom
// tray, held inside the edges; a toggle that is the click which closed it is ignored.
TEST(PanelPopup, OpensUnderOrAboveTheTrayPointInsideTheScreen)
{
    const QRect screen(0, 24, 1920, 1056);
    const QSize size(300, 400);
    EXPECT_EQ(PanelPopup::placement({ 1000, 10 }, size, screen), QRect(850, 24, 300, 400));
    EXPECT_EQ(PanelPopup::placement({ 1000, 30 }, size, screen), QRect(850, 34, 300, 400));
    EXPECT_EQ(PanelPopup::placement({ 1910, 1070 }, size, screen), QRect(1620, 1070 - 4 - 400, 300, 400));
    EXPECT_EQ(PanelPopup::placement({ 5, 1075 }, size, screen).left(), 0);
    const QRect second(1920, 0, 1280, 1024);
    EXPECT_EQ(PanelPopup::placement({ 3190, 5 }, size, second), QRect(2900, 9, 300, 400));

    // The click on the tray item that closed the panel arrives as a toggle too: ignored.
    PanelPopup panel([](QWidget* parent) { return new QLabel("panel", parent); });
    panel.toggleAt({ 100, 10 });
    ASSERT_TRUE(panel.isVisible());
    panel.hide();
    panel.toggleAt({ 100, 10 });
    EXPECT_FALSE(panel.isVisible());
    panel.toggleAt({ 100, 10 });
    EXPECT_TRUE(panel.isVisible());
    // Escape is no click outside: a toggle right after it opens the panel again.
    QTest::keyClick(&panel, Qt::Key_Escape);
    panel.toggleAt({ 100, 10 });
    EXPECT_TRUE(panel.isVisible());
}

class TremlorAppTest : public tremlor::testing::EngineTest { };

// Taskbar presence follows showInDock from start-up on and after each change (read once it is
// stored); the tray label follows the session and its settings; quitting stops the session.
TEST_F(TremlorAppTest, DockPresenceTrayLabelAndQuitFollowTheSettingsAndTheSession)
{
    kestu::KestuDockVisibility::setApplier([](auto) {}); // no X11 windows to mark
    settings->setHasCompletedOnboarding(true);
    settings->setShowInDock(false);
    settings->setSelectedAppBundleIDs({ QStringLiteral("a") });
    settings->setMenuBarDisplayMode(MenuBarDisplayMode::iconAndAppName);
    TremlorApp app(std::make_unique<CompositionRoot>(*settings, CompositionRoot::Services { services() }), false);
    MenuBarLabel label(app.engine(), *settings);
    for (const bool shown : { false, true }) {
        settings->setShowInDock(shown);
        settle();
        EXPECT_EQ(kestu::KestuDockVisibility::activationPolicy() == kestu::KestuActivationPolicy::regular, shown);
    }

    app.engine().start(Duration::minutes15());
    ASSERT_TRUE(waitFor([&] { return label.content().text == QStringLiteral("Alpha"); }));
    settings->setMenuBarDisplayMode(MenuBarDisplayMode::iconAndCountdown);
    EXPECT_EQ(label.content().text, QStringLiteral("15:00"));
    app.quit();
    EXPECT_FALSE(app.engine().isActive());
}
