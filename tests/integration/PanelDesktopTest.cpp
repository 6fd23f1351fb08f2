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
    void SetUp() override { REQUIRE_DESKTOP(desktop); }
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
    // One window found by its title or class, out of the taskbar as the program's windows are by default.
    apptest::Window await(const QString& text, bool byClass = false)
    {
        std::vector<apptest::Window> found;
        EXPECT_TRUE(waitUntil([&] { return !(found = x.find(text, byClass)).empty(); }, 8000)) << text.toStdString();
        if (!found.empty())
            x.requestState(found.front(), "_NET_WM_STATE_SKIP_TASKBAR", true);
        return found.empty() ? 0 : found.front();
    }

    TestDesktop desktop;
    probe::Bus bus { desktop.sessionBusAddress() };
    apptest::XWindows x { desktop.display() };
};

} // namespace

// Closed by Escape or by its own Start, the panel gives the keyboard back to the window that had
// it, another application's or the settings window, though openbox gives none to windows out of
// the taskbar; a window clicked meanwhile keeps it. With "Show in Dock" on, the panel stays out
// of the taskbar and the pager each time it opens.
TEST_F(PanelDesktop, ClosingGivesTheKeyboardBackAndThePanelNeverEntersTheTaskbar)
{
    apptest::MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    apptest::writeSettings([](TremlorSettings& settings) { settings.setShowInDock(true); });
    apptest::AppProcess app(desktop);
    ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000)) << app.standardError().toStdString();
    const auto openPanel = [&] {
        bus.call(
            watcher.items.constFirst(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 1070 });
        std::vector<apptest::Window> panel;
        ASSERT_TRUE(waitUntil([&] { return !(panel = x.find("Tremlor")).empty() && active() == panel.front(); }));
        const QStringList states = x.atoms(panel.front(), "_NET_WM_STATE");
        EXPECT_TRUE(states.contains("_NET_WM_STATE_SKIP_TASKBAR") && states.contains("_NET_WM_STATE_SKIP_PAGER"))
            << states.join(' ').toStdString();
    };
    const auto closedWithKeyboardOn = [&](apptest::Window window) {
        return waitUntil([&] { return x.find("Tremlor").empty() && active() == window; });
    };
    desktop.startProcess("xterm", { "-class", "TermOne", "-geometry", "40x8+40+40" });
    desktop.startProcess("xterm", { "-class", "TermTwo", "-geometry", "40x8+600+40" });
    const apptest::Window first = await("TermOne", true), second = await("TermTwo", true);
    const auto click = [&](apptest::Window w) {
        run("xdotool", { "mousemove", "--window", QString::number(w), "20", "20", "click", "1" });
    };
    click(first);
    ASSERT_TRUE(waitUntil([&] { return active() == first; }));

    openPanel();
    click(second);
    EXPECT_TRUE(closedWithKeyboardOn(second));
    EXPECT_FALSE(waitUntil([&] { return active() != second; }, 500)) << "the keyboard left the window clicked";
    openPanel();
    run("xdotool", { "key", "Escape" });
    EXPECT_TRUE(closedWithKeyboardOn(second));

    apptest::AppProcess opener(desktop); // a second start opens the settings window
    ASSERT_EQ(opener.waitForExit(), 0);
    const apptest::Window settings = await("Tremlor Settings");
    ASSERT_TRUE(waitUntil([&] { return active() == settings; }));
    openPanel();
    run("xdotool", { "key", "Return" }); // starts a session, which closes the panel
    EXPECT_TRUE(closedWithKeyboardOn(settings));
}
