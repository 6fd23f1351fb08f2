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

    // The window holding the keyboard, or one of its ancestors, is `window`.
    bool hasKeyboard(xcb_window_t window) const
    {
        auto* focus = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        xcb_window_t w = focus ? focus->focus : 0;
        std::free(focus);
        while (w && w != root && w != window) {
            auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
            w = tree ? tree->parent : 0;
            std::free(tree);
        }
        return w == window;
    }

    bool offersMaximise(xcb_window_t window) const
    {
        const auto actions = atoms(window, "_NET_WM_ALLOWED_ACTIONS");
        return std::find(actions.begin(), actions.end(), atom("_NET_WM_ACTION_MAXIMIZE_HORZ")) != actions.end()
            || std::find(actions.begin(), actions.end(), atom("_NET_WM_ACTION_MAXIMIZE_VERT")) != actions.end();
    }

    // WM_NORMAL_HINTS hold a minimum size equal to the maximum (ICCCM: flags, x, y, width, height,
    // then the minimum and the maximum).
    bool fixedSize(xcb_window_t window) const
    {
        constexpr uint32_t minSize = 1 << 4, maxSize = 1 << 5;
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18), nullptr);
        bool fixed = false;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 9 * 4) {
            const auto* h = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            fixed = (h[0] & minSize) && (h[0] & maxSize) && h[5] == h[7] && h[6] == h[8];
        }
        std::free(reply);
        return fixed;
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
    EXPECT_TRUE(x.fixedSize(id));
    EXPECT_FALSE(x.offersMaximise(id));

    const std::pair<const char*, const char*> dialogs[] = { { "reset-to-defaults", "reset-alert" },
        { "export-settings", "export-dialog" }, { "import-settings", "import-dialog" } };
    for (const auto& [name, dialogName] : dialogs) {
        SCOPED_TRACE(name);
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr);
        button->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(waitUntil([&] { return x.hasKeyboard(id) && window->isActiveWindow(); }));
        Desktop::press("space");
        QDialog* dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            dialog = window->findChild<QDialog*>(QLatin1String(dialogName));
            return dialog && dialog->isVisible() && x.activeWindow() == xcb_window_t(dialog->winId());
        }));
        if (dialog->objectName() == QLatin1String("reset-alert")) {
            const auto alert = xcb_window_t(dialog->winId());
            EXPECT_TRUE(x.fixedSize(alert));
            EXPECT_FALSE(x.offersMaximise(alert));
            QFont titleFont = dialog->font();
            titleFont.setBold(true);
            EXPECT_GT(dialog->width(), 2 * QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()));
        }
        // Escape closes it; the window has the keyboard on that button, where Space opens it again.
        for (int round = 0; round < 2; ++round) {
            Desktop::press("Escape");
            EXPECT_TRUE(waitUntil([&] {
                return x.activeWindow() == id && x.hasKeyboard(id) && QApplication::focusWidget() == button;
            })) << round;
            if (round == 0) {
                Desktop::press("space");
                ASSERT_TRUE(waitUntil([&] {
                    auto* again = window->findChild<QDialog*>(QLatin1String(dialogName));
                    return again && again->isVisible() && x.activeWindow() == xcb_window_t(again->winId());
                }));
            }
        }
    }
    EXPECT_EQ(f.settings().maxInterval(), 99);
}
