// The settings window on a desktop with a window manager (openbox), left out of the taskbar as
// "Show in Dock" off leaves it.

#include "App/AppWindows.h"
#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "kit/XcbClient.h"
#include "support/TestDesktop.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QDialog>
#include <QProcess>

using namespace tremlor;

// The window and the Reset alert offer no maximise, and the alert is wide enough for its title.
// After the alert, the export or the import dialog closes, the window has the keyboard again (Qt's
// active window is the one the X server gives it to) on the button that opened it, so the next
// key works there. Keys go through the X server, as the user's do (xdotool's XTest).
TEST(SettingsWindowOnDesktop, DialogsGiveTheKeyboardBackAndNothingMaximises)
{
    if (qEnvironmentVariableIsEmpty("TREMLOR_DESKTOP_CHILD")) {
        // Again in a child on a private desktop, with Qt on X11.
        TestDesktop desktop(TestDesktop::Options { true, true, false, false, QStringLiteral("1280x800x24"), false });
        REQUIRE_DESKTOP(desktop);
        QProcess child;
        QProcessEnvironment env = desktop.environment();
        env.insert(QStringLiteral("TREMLOR_DESKTOP_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--gtest_filter=SettingsWindowOnDesktop.DialogsGiveTheKeyboardBackAndNothingMaximises") });
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        return;
    }
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    kestu::KestuDockVisibility::setDockVisibility(false);
    settingstest::Fixture f;
    f.settings().setMaxInterval(99);
    AppWindows windows([&f] { return new SettingsWindow(f.context, SettingsSection::advanced); }, {});
    XcbClient x(qEnvironmentVariable("DISPLAY"));
    const auto offersMaximise = [&x](QWidget* w) {
        const auto actions = x.atoms(xcb_window_t(w->winId()), "_NET_WM_ALLOWED_ACTIONS");
        return std::find(actions.begin(), actions.end(), x.atom("_NET_WM_ACTION_MAXIMIZE_HORZ")) != actions.end();
    };
    const auto press = [](const char* key) { QProcess::execute("xdotool", { "key", QLatin1String(key) }); };
    windows.openSettingsWindow();
    QWidget* window = windows.settingsWindow();
    // Openbox may drop a map request made just as it starts: show again until it is active.
    for (int attempt = 0; attempt < 5 && !waitUntil([&] { return window->isActiveWindow(); }, 2000); ++attempt) {
        window->hide();
        windows.openSettingsWindow();
    }
    ASSERT_TRUE(window->isActiveWindow());
    EXPECT_TRUE(waitUntil([&] { return x.skipsTaskbar(xcb_window_t(window->winId())); }));
    EXPECT_FALSE(offersMaximise(window));

    const auto opened = [&](const char* name) {
        auto* dialog = window->findChild<QDialog*>(QLatin1String(name));
        return dialog && dialog->isActiveWindow() ? dialog : nullptr;
    };
    for (const auto& [name, dialogName] : { std::pair { "reset-to-defaults", "reset-alert" },
             { "export-settings", "export-dialog" }, { "import-settings", "import-dialog" } }) {
        SCOPED_TRACE(name);
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        button->setFocus(Qt::TabFocusReason);
        press("space");
        QDialog* dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (dialog = opened(dialogName)) != nullptr; }));
        if (dialog->objectName() == QLatin1String("reset-alert")) {
            EXPECT_FALSE(offersMaximise(dialog));
            QFont titleFont = dialog->font();
            titleFont.setBold(true);
            // Its title, and the frame's buttons beside it.
            EXPECT_GT(dialog->width(), 2 * QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()));
        }
        press("Escape");
        EXPECT_TRUE(waitUntil([&] { return window->isActiveWindow() && QApplication::focusWidget() == button; }));
    }
    press("space");
    EXPECT_TRUE(waitUntil([&] { return opened("import-dialog") != nullptr; }));
    EXPECT_EQ(f.settings().maxInterval(), 99);
}
