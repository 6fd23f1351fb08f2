// The whole core on a private desktop: the composition root with the system's services, an
// X server with a window manager, logind and a screensaver service. (Expiry notifications are
// proved by the engine's unit tests and NotificationTest against a real daemon.)

#include "CompositionRoot.h"
#include "DBusMockProbe.h"
#include "Engine/TremlorEngine.h"
#include "Platform/X11/RunningApps.h"
#include "Platform/X11/SystemMouseMover.h"
#include "Platform/X11/WindowActivation.h"
#include "core/TempDefaults.h"
#include "support/ScheduleWindow.h"
#include "support/ScreenSaverMock.h"
#include "support/TestDesktop.h"

#include <algorithm>

using namespace tremlor;
using probe::waitUntil;
using tremlor::testing::windowAroundNow;

// A schedule window that is open at launch starts a session with its profile on the real
// desktop: the pointer moves, both inhibits are held, the selected terminal comes forward. Moving
// the window's end into the past stops the session and gives the inhibits back.
TEST(EngineOnDesktop, ScheduledSessionAtLaunchDrivesTheDesktopAndEndsWithItsWindow)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    QTemporaryDir templates;
    ASSERT_TRUE(desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" }))
        << desktop.error().toStdString();
    ASSERT_TRUE(desktop.startDbusMock(TestDesktop::Bus::session, kScreenSaver,
        { "--template", screenSaverTemplate(templates, kScreenSaverPath, QStringLiteral("ret = 11")) }))
        << desktop.error().toStdString();

    // The terminal to keep active, and a window in front of it.
    writeFile(desktop.home() + "/.local/share/applications/xterm.desktop",
        "[Desktop Entry]\nType=Application\nName=XTerm\n"
        "Exec=xterm -name tremlorterm -class TremlorTerm\nStartupWMClass=TremlorTerm\n");
    ASSERT_TRUE(desktop.startProcess("xterm", { "-name", "tremlorterm", "-class", "TremlorTerm" }));
    ASSERT_TRUE(desktop.waitForWindow("TremlorTerm"));
    ASSERT_TRUE(desktop.startProcess("xterm", { "-name", "decoy", "-class", "Decoy" }));
    ASSERT_TRUE(desktop.waitForWindow("Decoy"));
    // What the user sees: the WM_CLASS class of the window the window manager marks active.
    const x11::DisplayHandle display = x11::RunningApps::openDisplay(desktop.display());
    ASSERT_TRUE(display);
    const auto activeClass = [&] {
        const unsigned long active = x11::WindowActivation(display).activeWindow();
        const auto clients = x11::RunningApps(display).clients();
        const auto it = std::find_if(clients.begin(), clients.end(), [&](const auto& c) { return c.window == active; });
        return it == clients.end() ? QString() : it->windowClass;
    };
    ASSERT_TRUE(waitUntil([&] { return activeClass() == "Decoy"; }));

    // The defaults file, as a previous run left it.
    const Profile profile { .id = QUuid::createUuid(),
        .name = "Terminal",
        .selectedAppBundleIDs = { "xterm" },
        .maxInterval = 1.0,
        .jiggleDistance = 40.0,
        .movementPattern = MovementPattern::drift,
        .caffeineEnabled = true };
    {
        UserDefaults defaults(UserDefaults::defaultFolder());
        TremlorSettings settings(defaults);
        settings.setProfiles({ profile });
        settings.setScheduleEntries({ windowAroundNow(-60, 60, profile.id) });
        ASSERT_TRUE(defaults.synchronize());
    }

    SystemMouseMover pointer(desktop.display()); // its reading is checked in InputBackends
    const QPointF before = pointer.cursorLocation();
    CompositionRoot root;
    TremlorEngine& engine = root.engine();
    EXPECT_FALSE(engine.isActive()); // started from the event loop, after construction
    ASSERT_TRUE(waitUntil([&] { return engine.isActive(); }));
    EXPECT_EQ(root.settings().activeProfileId(), profile.id.toString(QUuid::WithoutBraces).toUpper());

    EXPECT_TRUE(waitUntil([&] { return pointer.cursorLocation() != before; }, 8000));
    EXPECT_TRUE(waitUntil([&] { return activeClass() == "TremlorTerm"; }));

    probe::Bus system(desktop.systemBusAddress());
    probe::Bus session(desktop.sessionBusAddress());
    EXPECT_EQ(session.calls(kScreenSaver, kScreenSaverPath, "Inhibit").size(), 1u);
    EXPECT_EQ(system.inhibitors(), QStringList { kOurLock });

    // The window now ended a minute ago.
    root.settings().setScheduleEntries({ windowAroundNow(-61, -1, profile.id) });
    ASSERT_TRUE(waitUntil([&] { return !engine.isActive(); }));
    EXPECT_TRUE(waitUntil([&] { return session.calls(kScreenSaver, kScreenSaverPath, "UnInhibit").size() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return system.inhibitors().isEmpty(); }));
}
