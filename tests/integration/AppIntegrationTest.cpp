// The real program on a private desktop: its tray item with a watcher of the test's own or an
// XEmbed tray, its single instance, its start without a display and its quit.

#include "AppDesktop.h"
#include "Platform/X11/RunningApps.h"
#include "Platform/X11/WindowActivation.h"
#include "core/TempDefaults.h"
#include "support/ScheduleWindow.h"
#include "support/ScreenSaverMock.h"

#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

using namespace tremlor;
using apptest::AppProcess;
using apptest::MockWatcher;
using probe::waitUntil;

namespace {

// The (width, height, byte count) of each image of an IconPixmap property.
std::vector<std::tuple<int, int, int>> pixmapSizes(const QVariant& value)
{
    std::vector<std::tuple<int, int, int>> sizes;
    const auto argument = value.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        int width = 0, height = 0;
        QByteArray bytes;
        argument.beginStructure();
        argument >> width >> height >> bytes;
        argument.endStructure();
        sizes.emplace_back(width, height, int(bytes.size()));
    }
    argument.endArray();
    return sizes;
}

// A private desktop with a look at its session bus and its X windows.
class AppOnDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DESKTOP(desktop);
        ASSERT_TRUE(x.ok());
    }
    TestDesktop desktop;
    probe::Bus bus { desktop.sessionBusAddress() };
    apptest::XWindows x { desktop.display() };
};
} // namespace

// With a watcher there, the item registers with its glyph at four sizes, its title, no menu and
// the countdown as its label (a schedule window runs a session from the start).
TEST_F(AppOnDesktop, ItemRegistersWithItsPropertiesAndLabel)
{
    MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    apptest::writeSettings([](TremlorSettings& settings) {
        settings.setShowCountdownInMenuBar(true);
        settings.setScheduleEntries({ tremlor::testing::windowAroundNow(-60, 60) });
    });

    AppProcess app(desktop);
    ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000)) << app.standardError().toStdString();
    const QString item = watcher.items.constFirst();
    EXPECT_EQ(apptest::itemProperty(bus, item, "Title").toString(), "Tremlor");
    EXPECT_EQ(apptest::itemProperty(bus, item, "Id").toString(), "com.tremlor.app");
    EXPECT_EQ(apptest::itemProperty(bus, item, "ItemIsMenu").toBool(), false);
    const auto sizes = pixmapSizes(apptest::itemProperty(bus, item, "IconPixmap"));
    EXPECT_EQ(sizes,
        (std::vector<std::tuple<int, int, int>> {
            { 16, 16, 1024 }, { 22, 22, 1936 }, { 32, 32, 4096 }, { 48, 48, 9216 } }));
    QString label;
    ASSERT_TRUE(waitUntil([&] {
        label = apptest::itemProperty(bus, item, "XAyatanaLabel").toString();
        return !label.isEmpty();
    }));
    const QString guide = apptest::itemProperty(bus, item, "XAyatanaLabelGuide").toString();
    EXPECT_EQ(guide.size(), label.size()) << label.toStdString() << " / " << guide.toStdString();

    // Activate opens the panel at the host's point and again closes it.
    auto activate = [&] {
        bus.call(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 1070 });
    };
    activate();
    std::vector<apptest::Window> panels;
    ASSERT_TRUE(waitUntil([&] { return !(panels = x.find("Tremlor")).empty(); }));
    // Opened upward from a tray at the bottom, around the host's point.
    QRect panel;
    EXPECT_TRUE(waitUntil([&] {
        panel = x.geometry(panels.front());
        return panel.bottom() <= 1070 && panel.left() <= 900 && panel.right() >= 900;
    })) << panel.top()
        << " " << panel.bottom();
    activate();
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty(); }));
    EXPECT_FALSE(app.standardError().contains("no system tray"));
}

// No tray at start: the program keeps running and says so once. A watcher that appears later
// gets the item, and again after it went away and came back.
TEST_F(AppOnDesktop, WatcherAppearingLaterOrComingBackGetsTheItem)
{
    apptest::writeSettings();
    AppProcess app(desktop);
    ASSERT_TRUE(waitUntil([&] { return app.standardError().contains("no system tray"); }, 8000));

    MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    ASSERT_TRUE(waitUntil([&] { return watcher.items.size() == 1; }, 5000));
    ASSERT_TRUE(watcher.vanish());
    ASSERT_TRUE(watcher.appear());
    EXPECT_TRUE(waitUntil([&] { return watcher.items.size() == 2; }, 5000));
    EXPECT_EQ(app.process().state(), QProcess::Running);
    EXPECT_EQ(app.standardError().count("no system tray"), 1) << app.standardError().toStdString();
}

// Without a watcher, an XEmbed tray (tint2) takes the glyph.
TEST_F(AppOnDesktop, XEmbedTrayShowsTheFallbackIcon)
{
    QTemporaryDir dir;
    QFile config(dir.filePath("tint2rc"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("panel_items = S\npanel_size = 100% 32\npanel_position = bottom center horizontal\n"
                 "systray_padding = 2 2 4\nsystray_icon_size = 24\n");
    config.close();
    ASSERT_TRUE(desktop.startProcess("tint2", { "-c", config.fileName() }));
    ASSERT_TRUE(waitUntil([&] { return x.selectionOwned("_NET_SYSTEM_TRAY_S0"); }, 5000));

    apptest::writeSettings();
    AppProcess app(desktop);
    std::vector<apptest::Window> icons;
    ASSERT_TRUE(waitUntil(
        [&] {
            icons = x.find("Tremlor", true);
            std::erase_if(icons, [&](apptest::Window w) { return !x.insideClass(w, "Tint2"); });
            return !icons.empty();
        },
        8000))
        << app.standardError().toStdString();
    EXPECT_FALSE(app.standardError().contains("no system tray"));
}

// A second `tremlor` asks the first to open its settings window and exits with status 0; a
// third brings the same window forward.
TEST_F(AppOnDesktop, SecondInstanceHandsOverAndExits)
{
    apptest::writeSettings();
    AppProcess first(desktop);
    ASSERT_TRUE(
        waitUntil([&] { return bus.connection().interface()->isServiceRegistered("com.tremlor.app").value(); }, 8000));
    EXPECT_TRUE(x.find("Tremlor Settings").empty());
    AppProcess second(desktop);
    EXPECT_EQ(second.waitForExit(), 0) << second.standardError().toStdString();
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor Settings").size() == 1; }, 5000));
    AppProcess third(desktop);
    EXPECT_EQ(third.waitForExit(), 0);
    QTest::qWait(300);
    EXPECT_EQ(x.find("Tremlor Settings").size(), 1u);
    EXPECT_EQ(first.process().state(), QProcess::Running);
}

// An owner of the name that does not take the request (here the test itself): the program
// says why and exits non-zero rather than run as a second instance.
TEST_F(AppOnDesktop, FailedHandOverExitsWithAMessage)
{
    ASSERT_TRUE(bus.connection().registerService("com.tremlor.app"));
    AppProcess app(desktop);
    EXPECT_EQ(app.waitForExit(), 1);
    EXPECT_TRUE(app.standardError().contains("did not answer")) << app.standardError().toStdString();
}

// Without a usable display the program says what it needs and exits with status 1.
TEST(AppWithoutDisplay, ExitsWithAPlainMessage)
{
    TestDesktop desktop(TestDesktop::Options::xServerOnly());
    REQUIRE_DESKTOP(desktop);
    for (const QString& display : { QString(), QStringLiteral(":4093") }) {
        QProcess process;
        QProcessEnvironment env = desktop.environment();
        env.remove("QT_QPA_PLATFORM");
        display.isEmpty() ? env.remove("DISPLAY") : env.insert("DISPLAY", display);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TREMLOR_EXECUTABLE), {});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_TRUE(process.readAllStandardError().contains("an X11 display is needed")) << display.toStdString();
    }
}

// Quitting while a session runs gives its inhibits back before the program ends.
TEST_F(AppOnDesktop, QuitDuringASessionGivesTheInhibitsBack)
{
    QTemporaryDir templates;
    ASSERT_TRUE(desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" }));
    ASSERT_TRUE(desktop.startDbusMock(
        TestDesktop::Bus::session, kScreenSaver, { "--template", screenSaverTemplate(templates, kScreenSaverPath) }));
    apptest::writeSettings([](TremlorSettings& settings) {
        settings.setCaffeineEnabled(true);
        settings.setScheduleEntries({ tremlor::testing::windowAroundNow(-60, 60) });
    });
    AppProcess app(desktop);
    probe::Bus system(desktop.systemBusAddress());
    ASSERT_TRUE(waitUntil(
        [&] {
            return system.inhibitors().size() == 1 && bus.calls(kScreenSaver, kScreenSaverPath, "Inhibit").size() == 1;
        },
        8000));

    app.process().terminate();
    EXPECT_EQ(app.waitForExit(), 0);
    // The program sent it before it exited; the mock may log it a moment later.
    EXPECT_TRUE(waitUntil([&] { return bus.calls(kScreenSaver, kScreenSaverPath, "UnInhibit").size() == 1; }));
}

// A screen reader finds the panel's Start button and its status header by their names, and
// the rotation-order menu with its items, where pressing "Random" stores it.
TEST_F(AppOnDesktop, ScreenReaderReadsThePanel)
{
    ASSERT_TRUE(desktop.startProcess("/usr/libexec/at-spi-bus-launcher", { "--launch-immediately" }));
    ASSERT_TRUE(waitUntil([&] { return bus.connection().interface()->isServiceRegistered("org.a11y.Bus").value(); }));
    MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    apptest::writeSettings();
    AppProcess app(desktop, {}, { "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" });
    ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000));
    bus.call(watcher.items.constFirst(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 10 });
    ASSERT_TRUE(waitUntil([&] { return !x.find("Tremlor").empty(); }));

    QProcess reader;
    reader.setProcessEnvironment(desktop.environment());
    reader.start(
        "/usr/bin/python3", { QStringLiteral(TREMLOR_TESTS_DIR "/integration/read_panel_atspi.py"), "10", "Random" });
    ASSERT_TRUE(waitUntil([&] { return reader.state() == QProcess::NotRunning; }, 20000));
    const QString tree = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    EXPECT_TRUE(tree.contains(QRegularExpression("push button\tStart Tremlor for 1 hour"))) << tree.toStdString();
    EXPECT_TRUE(tree.contains("\tInactive\t\tNot active")) << tree.toStdString(); // the header and its ring
    const QString open = tree.section(QStringLiteral("menu open\n"), 1);
    EXPECT_TRUE(open.contains("menu item\tSequential\t\t\tchecked\n")) << tree.toStdString();
    EXPECT_TRUE(open.contains("menu item\tRandom\t\t\t\n")) << tree.toStdString();
    EXPECT_TRUE(tree.contains("chosen\tRotation order: Random")) << tree.toStdString();
    EXPECT_TRUE(waitUntil([] {
        UserDefaults stored(UserDefaults::defaultFolder());
        return TremlorSettings(stored).rotationMode() == RotationMode::random;
    }));
}

// Turning "Show in Dock" on (a mouse click on its switch) takes the settings window that is
// already open into the taskbar and pager at once, as the window manager reports its state;
// turning it off takes the window out again. The setting is stored each time.
TEST_F(AppOnDesktop, ShowInDockTakesTheOpenWindowInAndOutOfTheTaskbar)
{
    ASSERT_TRUE(desktop.startProcess("/usr/libexec/at-spi-bus-launcher", { "--launch-immediately" }));
    ASSERT_TRUE(waitUntil([&] { return bus.connection().interface()->isServiceRegistered("org.a11y.Bus").value(); }));
    apptest::writeSettings([](TremlorSettings& settings) { settings.setShowInDock(false); });
    AppProcess app(desktop, {}, { "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" });
    ASSERT_TRUE(
        waitUntil([&] { return bus.connection().interface()->isServiceRegistered("com.tremlor.app").value(); }, 8000));
    AppProcess opener(desktop); // a second start opens the settings window
    ASSERT_EQ(opener.waitForExit(), 0);
    std::vector<apptest::Window> windows;
    ASSERT_TRUE(waitUntil([&] { return (windows = x.find("Tremlor Settings")).size() == 1; }, 5000));
    const QStringList skipped { "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" };
    const auto skips = [&](bool expected) {
        const QStringList states = x.atoms(windows.front(), "_NET_WM_STATE");
        return std::all_of(
            skipped.begin(), skipped.end(), [&](const QString& s) { return states.contains(s) == expected; });
    };
    ASSERT_TRUE(waitUntil([&] { return skips(true); }, 5000))
        << x.atoms(windows.front(), "_NET_WM_STATE").join(' ').toStdString();

    QProcess locate;
    locate.setProcessEnvironment(desktop.environment());
    locate.start("/usr/bin/python3",
        { QStringLiteral(TREMLOR_TESTS_DIR "/integration/locate_atspi.py"), "15", "Show in Dock", "Toggle" });
    ASSERT_TRUE(locate.waitForFinished(20000));
    const QStringList box = QString::fromLatin1(locate.readAllStandardOutput()).split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(box.size(), 4) << locate.readAllStandardError().toStdString();
    const QString centreX = QString::number(box[0].toInt() + box[2].toInt() / 2);
    const QString centreY = QString::number(box[1].toInt() + box[3].toInt() / 2);
    for (const bool shown : { true, false }) {
        SCOPED_TRACE(shown);
        QProcess click;
        click.setProcessEnvironment(desktop.environment());
        click.start("xdotool", { "mousemove", centreX, centreY, "click", "1" });
        ASSERT_TRUE(click.waitForFinished(5000));
        EXPECT_TRUE(waitUntil([&] { return skips(!shown); }, 5000))
            << x.atoms(windows.front(), "_NET_WM_STATE").join(' ').toStdString();
        // The window manager holds the same: a state it changes itself writes the others it holds.
        for (const bool above : { true, false }) {
            x.requestState(windows.front(), "_NET_WM_STATE_ABOVE", above);
            EXPECT_TRUE(waitUntil(
                [&] { return x.atoms(windows.front(), "_NET_WM_STATE").contains("_NET_WM_STATE_ABOVE") == above; }));
            EXPECT_TRUE(skips(!shown)) << x.atoms(windows.front(), "_NET_WM_STATE").join(' ').toStdString();
        }
        EXPECT_TRUE(waitUntil([&] {
            UserDefaults stored(UserDefaults::defaultFolder());
            return TremlorSettings(stored).showInDock() == shown;
        }));
    }
}

// Rotation due at every movement, about every second: while the panel is open nothing is brought
// forward to take the keyboard from it, not even the window of a launch under way as it opened, so
// it stays; once it closes, rotation goes on.
TEST_F(AppOnDesktop, PanelStaysOpenWhileRotationIsDue)
{
    // The launch maps its window once the test lets it go, with the panel open (or the test's
    // home is gone).
    const QByteArray launched = (desktop.home() + "/launched").toUtf8(), go = (desktop.home() + "/go").toUtf8();
    writeFile(desktop.home() + "/.local/share/applications/tremlor-rotated.desktop",
        "[Desktop Entry]\nType=Application\nName=Rotated\nExec=sh -c \"touch " + launched + "; while [ ! -e " + go
            + " ] && [ -e " + launched
            + " ]; do sleep 0.1; done; exec xterm -class Rotated\"\nStartupWMClass=Rotated\n");
    MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    apptest::writeSettings([](TremlorSettings& settings) {
        settings.setSelectedAppBundleIDs({ "tremlor-rotated" });
        settings.setMaxInterval(1.0);
        settings.setAppSwitchInterval(1);
        settings.setSimulateKeyboard(false);
        settings.setScheduleEntries({ tremlor::testing::windowAroundNow(-60, 60) });
    });
    const apptest::Window elsewhere = x.map({ 40, 40, 300, 200 });
    AppProcess app(desktop);
    ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000)) << app.standardError().toStdString();
    const x11::WindowActivation activation(x11::RunningApps::openDisplay(desktop.display()));
    const auto rotatedIsActive = [&] {
        const auto rotated = x.find("Rotated", true);
        return !rotated.empty() && activation.activeWindow() == rotated.front();
    };
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(launched); }, 15000)); // the session's first switch
    bus.call(watcher.items.constFirst(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 10 });
    ASSERT_TRUE(waitUntil([&] { return !x.find("Tremlor").empty(); }));
    writeFile(go, {});
    ASSERT_TRUE(waitUntil([&] { return !x.find("Rotated", true).empty(); }, 15000)) << "the launch never mapped";
    EXPECT_FALSE(waitUntil([&] { return x.find("Tremlor").empty(); }, 3000)) << "closed while switches fell due";
    QProcess::execute("xdotool", { "mousemove", "--window", QString::number(elsewhere), "20", "20", "click", "1" });
    EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty(); }));
    EXPECT_TRUE(waitUntil(rotatedIsActive, 5000)) << "rotation did not go on";
}

// The panel closed by Escape or its own Start gives the keyboard back to the window that had it, one
// out of the taskbar (openbox gives those none), and leaves it with a window clicked meanwhile.
// With "Show in Dock" on, the panel stays out of the taskbar and the pager.
TEST_F(AppOnDesktop, ClosingThePanelGivesTheKeyboardBackAndItNeverEntersTheTaskbar)
{
    MockWatcher watcher(bus.connection());
    ASSERT_TRUE(watcher.appear());
    apptest::writeSettings([](TremlorSettings& settings) { settings.setShowInDock(true); });
    AppProcess app(desktop);
    ASSERT_TRUE(waitUntil([&] { return !watcher.items.isEmpty(); }, 8000)) << app.standardError().toStdString();
    const x11::WindowActivation activation(x11::RunningApps::openDisplay(desktop.display()));
    const auto openAndClose = [&](const QStringList& xdotool, apptest::Window keeper) {
        bus.call(
            watcher.items.constFirst(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", { 900, 1070 });
        std::vector<apptest::Window> panel;
        ASSERT_TRUE(waitUntil(
            [&] { return !(panel = x.find("Tremlor")).empty() && activation.activeWindow() == panel.front(); }));
        const QStringList states = x.atoms(panel.front(), "_NET_WM_STATE");
        EXPECT_TRUE(states.contains("_NET_WM_STATE_SKIP_TASKBAR") && states.contains("_NET_WM_STATE_SKIP_PAGER"))
            << states.join(' ').toStdString();
        QProcess::execute("xdotool", xdotool);
        EXPECT_TRUE(waitUntil([&] { return x.find("Tremlor").empty() && activation.activeWindow() == keeper; }));
        EXPECT_FALSE(waitUntil([&] { return activation.activeWindow() != keeper; }, 500)) << "the keyboard moved on";
    };
    const apptest::Window first = x.map({ 40, 40, 300, 200 }), second = x.map({ 600, 40, 300, 200 });
    for (const apptest::Window window : { first, second })
        x.requestState(window, "_NET_WM_STATE_SKIP_TASKBAR", true);
    const auto click = [](apptest::Window window) {
        return QStringList { "mousemove", "--window", QString::number(window), "20", "20", "click", "1" };
    };
    QProcess::execute("xdotool", click(first));
    ASSERT_TRUE(waitUntil([&] { return activation.activeWindow() == first; }));
    openAndClose(click(second), second);
    x.activationRequests();
    openAndClose({ "key", "Escape" }, second);
    // For the user, as a pager asks, with the time of the user's key: a manager that prevents focus
    // stealing honours that.
    const auto requests = x.activationRequests();
    EXPECT_EQ(std::count_if(
                  requests.begin(), requests.end(), [&](auto r) { return r[0] == second && r[1] == 2 && r[2] != 0; }),
        1);
    AppProcess opener(desktop); // a second start opens the settings window
    ASSERT_EQ(opener.waitForExit(), 0);
    std::vector<apptest::Window> settings;
    ASSERT_TRUE(waitUntil([&] { return !(settings = x.find("Tremlor Settings")).empty(); }));
    x.requestState(settings.front(), "_NET_WM_STATE_SKIP_TASKBAR", true);
    ASSERT_TRUE(waitUntil([&] { return activation.activeWindow() == settings.front(); }));
    openAndClose({ "key", "Return" }, settings.front()); // starts a session, which closes the panel
}
