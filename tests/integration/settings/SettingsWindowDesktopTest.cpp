#include "App/AppWindows.h"
#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "kit/XcbClient.h"
#include "support/TestDesktop.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QProcess>

using namespace tremlor;

// Out of the taskbar ("Show in Dock" off), neither the window nor the Reset alert offers maximise,
// and the alert fits its title. Once the alert, the export or the import dialog closes, the window
// has the keyboard again (Qt's active window is the X server's) on the button that opened it; also
// when a screen reader's bridge hands the closing Return to the file name while its list of
// completions is open.
TEST(SettingsWindowOnDesktop, DialogsGiveTheKeyboardBackAndNothingMaximises)
{
    if (qEnvironmentVariableIsEmpty("TREMLOR_DESKTOP_CHILD")) { // again in a child on a desktop, Qt on X11
        TestDesktop desktop(TestDesktop::Options { true, true, false, false, "1280x800x24" });
        REQUIRE_DESKTOP(desktop);
        qputenv("TREMLOR_DESKTOP_CHILD", "1");
        qputenv("QT_QPA_PLATFORM", "xcb");
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), { "--gtest_filter=SettingsWindowOnDesktop.*" });
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
    const auto press = [](const char* key) { QProcess::execute("xdotool", { "key", key }); };
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
    QDialog* dialog = nullptr;
    const auto opened
        = [&](const char* name) { return (dialog = window->findChild<QDialog*>(name)) && dialog->isActiveWindow(); };
    for (const auto& [name, dialogName] : { std::pair { "reset-to-defaults", "reset-alert" },
             { "export-settings", "export-dialog" }, { "import-settings", "import-dialog" } }) {
        SCOPED_TRACE(name);
        auto* button = window->findChild<QAbstractButton*>(name);
        button->setFocus(Qt::TabFocusReason);
        press("space");
        ASSERT_TRUE(waitUntil([&] { return opened(dialogName); }));
        if (dialog->objectName() == "reset-alert") { // room for its title and the frame's buttons
            EXPECT_FALSE(offersMaximise(dialog));
            EXPECT_GT(dialog->width(), 2 * dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()));
        }
        press("Escape");
        EXPECT_TRUE(waitUntil([&] { return window->isActiveWindow() && QApplication::focusWidget() == button; }));
    }
    writeFile(QDir::home().filePath(QStringLiteral("settings-a.json")), "{}");
    press("space");
    ASSERT_TRUE(waitUntil([&] { return opened("import-dialog"); }));
    EXPECT_EQ(f.settings().maxInterval(), 99);
    QWidget* name = QApplication::focusWidget();
    QProcess::execute("xdotool", { "type", "settings-a.json" });
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QCoreApplication::postEvent(name, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    auto* import = window->findChild<QAbstractButton*>("import-settings");
    EXPECT_TRUE(waitUntil(
        [&] { return window->isActiveWindow() && QAccessible::queryAccessibleInterface(import)->state().focused; }));
}
