// The settings window on a desktop with a window manager (openbox), left out of the taskbar as
// "Show in Dock" off leaves it: what the window manager offers, and where the keyboard goes
// after a dialog over the window closes.

#include "App/AppWindows.h"
#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "Views/Settings/SettingsWindow.h"
#include "kit/XcbClient.h"
#include "support/TestDesktop.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QDialog>
#include <QProcess>

using namespace tremlor;

namespace {

// A look at the window manager's view of the windows, over a connection of the test's own.
struct Desktop : XcbClient {
    using XcbClient::XcbClient;

    xcb_window_t activeWindow() const
    {
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t window = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            window = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return window;
    }

    bool offersMaximise(xcb_window_t window) const
    {
        const auto actions = atoms(window, "_NET_WM_ALLOWED_ACTIONS");
        return std::find(actions.begin(), actions.end(), atom("_NET_WM_ACTION_MAXIMIZE_HORZ")) != actions.end();
    }

    // Presses a key as the user does, through the X server (xdotool's XTest).
    static void press(const char* key)
    {
        QProcess::execute(QStringLiteral("xdotool"), { QStringLiteral("key"), QLatin1String(key) });
    }
};

// Runs this test again in a child on the private desktop, with Qt on X11.
void runOnDesktop(const char* test)
{
    TestDesktop desktop(TestDesktop::Options { true, true, false, false, QStringLiteral("1280x800x24"), false });
    REQUIRE_DESKTOP(desktop);
    QProcess child;
    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("TREMLOR_DESKTOP_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=") + QLatin1String(test) });
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
}

} // namespace

// With the window out of the taskbar: it offers no maximise; the Reset alert is fixed in size too
// and wide enough for its title; after the alert, the export or the import dialog closes, the
// window has the keyboard again, on the button that opened it, so the next key works there.
TEST(SettingsWindowOnDesktop, DialogsGiveTheKeyboardBackAndNothingMaximises)
{
    if (qEnvironmentVariableIsEmpty("TREMLOR_DESKTOP_CHILD"))
        return runOnDesktop("SettingsWindowOnDesktop.DialogsGiveTheKeyboardBackAndNothingMaximises");
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    kestu::KestuDockVisibility::setDockVisibility(false);
    settingstest::Fixture f;
    f.settings().setMaxInterval(99);
    AppWindows windows([&f] { return new SettingsWindow(f.context, SettingsSection::advanced); }, {});
    Desktop x(qEnvironmentVariable("DISPLAY"));
    ASSERT_EQ(xcb_connection_has_error(x.c), 0);
    windows.openSettingsWindow();
    QWidget* window = windows.settingsWindow();
    const auto id = xcb_window_t(window->winId());
    // Openbox may drop a map request made just as it starts: show again until it is active.
    for (int attempt = 0; attempt < 5 && !waitUntil([&] { return x.activeWindow() == id; }, 2000); ++attempt) {
        window->hide();
        windows.openSettingsWindow();
    }
    ASSERT_EQ(x.activeWindow(), id);
    EXPECT_TRUE(waitUntil([&] { return x.skipsTaskbar(id); }));
    EXPECT_FALSE(x.offersMaximise(id));

    // Qt's active window is the one the X server gives the keyboard to.
    const std::pair<const char*, const char*> dialogs[] = { { "reset-to-defaults", "reset-alert" },
        { "export-settings", "export-dialog" }, { "import-settings", "import-dialog" } };
    const auto opened = [&](const char* name) {
        auto* dialog = window->findChild<QDialog*>(QLatin1String(name));
        return dialog && dialog->isActiveWindow() && x.activeWindow() == xcb_window_t(dialog->winId()) ? dialog
                                                                                                       : nullptr;
    };
    for (const auto& [name, dialogName] : dialogs) {
        SCOPED_TRACE(name);
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        button->setFocus(Qt::TabFocusReason);
        Desktop::press("space");
        QDialog* dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (dialog = opened(dialogName)) != nullptr; }));
        if (dialog->objectName() == QLatin1String("reset-alert")) {
            EXPECT_FALSE(x.offersMaximise(xcb_window_t(dialog->winId())));
            QFont titleFont = dialog->font();
            titleFont.setBold(true);
            // Its title, and the frame's buttons beside it.
            EXPECT_GT(dialog->width(), 2 * QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()));
        }
        Desktop::press("Escape");
        EXPECT_TRUE(waitUntil([&] {
            return x.activeWindow() == id && window->isActiveWindow() && QApplication::focusWidget() == button;
        }));
    }
    // The next key works there: Space on "Import" opens its dialog again.
    Desktop::press("space");
    EXPECT_TRUE(waitUntil([&] { return opened("import-dialog") != nullptr; }));
    EXPECT_EQ(f.settings().maxInterval(), 99);
}
