// The panel of the real program among other windows on a private desktop: who has the
// keyboard once it closes, and what the taskbar sees of it.

#include "AppDesktop.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace tremlor;
using probe::waitUntil;

namespace {

class PanelDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DESKTOP(desktop);
        ASSERT_TRUE(watcher.appear());
    }
    // Starts the program with `edit` applied to its settings, and waits for its tray item.
    void start(const std::function<void(TremlorSettings&)>& edit = {})
    {
        apptest::writeSettings(edit);
        app = std::make_unique<apptest::AppProcess>(desktop);
        ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000)) << app->standardError().toStdString();
    }
    QString run(const QString& program, const QStringList& args)
    {
        QProcess process;
        process.setProcessEnvironment(desktop.environment());
        process.start(program, args);
        process.waitForFinished(5000);
        return QString::fromLatin1(process.readAllStandardOutput());
    }
    // The window the window manager holds active, as xprop reads it.
    apptest::Window active()
    {
        return run("xprop", { "-root", "_NET_ACTIVE_WINDOW" }).section('#', 1).toULong(nullptr, 0);
    }
    // Clicks the tray item and waits until the panel holds the keyboard; the panel's window.
    apptest::Window openPanel()
    {
        bus.call(
            watcher.items.constFirst(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 1070 });
        std::vector<apptest::Window> panel;
        EXPECT_TRUE(waitUntil([&] { return !(panel = x.find("Tremlor")).empty() && active() == panel.front(); }));
        return panel.empty() ? 0 : panel.front();
    }
    apptest::Window launch(const char* wmClass, const char* geometry)
    {
        desktop.startProcess("xterm", { "-class", wmClass, "-geometry", geometry });
        std::vector<apptest::Window> found;
        EXPECT_TRUE(waitUntil([&] { return !(found = x.find(wmClass, true)).empty(); }));
        return found.empty() ? 0 : found.front();
    }

    TestDesktop desktop;
    probe::Bus bus { desktop.sessionBusAddress() };
    apptest::XWindows x { desktop.display() };
    apptest::MockWatcher watcher { bus.connection() };
    std::unique_ptr<apptest::AppProcess> app;
};

} // namespace

// "Show in Dock" off: closed by Escape or by its own Start, the panel gives the keyboard back to
// the window that had it, another application's or the settings window, though the window
// manager gives none to windows out of the taskbar; a window clicked meanwhile keeps it.
TEST_F(PanelDesktop, ClosingGivesTheKeyboardBackUnlessAnotherWindowTookIt)
{
    start();
    const apptest::Window first = launch("TermOne", "40x8+40+40"), second = launch("TermTwo", "40x8+600+40");
    for (const apptest::Window term : { first, second })
        x.requestState(term, "_NET_WM_STATE_SKIP_TASKBAR", true);
    run("xdotool", { "mousemove", "--window", QString::number(first), "20", "20", "click", "1" });
    ASSERT_TRUE(waitUntil([&] { return active() == first; }));

    ASSERT_NE(openPanel(), 0u);
    run("xdotool", { "mousemove", "--window", QString::number(second), "20", "20", "click", "1" });
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty() && active() == second; }));
    EXPECT_FALSE(waitUntil([&] { return active() != second; }, 500)) << "the keyboard left the window clicked";

    ASSERT_NE(openPanel(), 0u);
    run("xdotool", { "key", "Escape" });
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty() && active() == second; }));

    apptest::AppProcess opener(desktop); // a second start opens the settings window
    ASSERT_EQ(opener.waitForExit(), 0);
    std::vector<apptest::Window> settings;
    ASSERT_TRUE(waitUntil([&] { return (settings = x.find("Tremlor Settings")).size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return active() == settings.front(); }));
    ASSERT_NE(openPanel(), 0u);
    run("xdotool", { "key", "Return" }); // starts a session, which closes the panel
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty() && active() == settings.front(); }));
}

// "Show in Dock" on: only the windows enter the taskbar; the panel stays out of it and out of the
// pager each time it opens.
TEST_F(PanelDesktop, PanelStaysOffTheTaskbarWithShowInDockOn)
{
    start([](TremlorSettings& settings) { settings.setShowInDock(true); });
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        const apptest::Window panel = openPanel();
        ASSERT_NE(panel, 0u);
        EXPECT_TRUE(waitUntil([&] {
            const QStringList states = x.atoms(panel, "_NET_WM_STATE");
            return states.contains("_NET_WM_STATE_SKIP_TASKBAR") && states.contains("_NET_WM_STATE_SKIP_PAGER");
        })) << x.atoms(panel, "_NET_WM_STATE").join(' ').toStdString();
        run("xdotool", { "key", "Escape" });
        ASSERT_TRUE(waitUntil([&] { return x.find("Tremlor").empty(); }));
    }
}
