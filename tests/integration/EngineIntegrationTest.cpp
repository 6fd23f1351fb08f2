// The whole core on a private desktop: the composition root with the system's services, an
// X server with a window manager, logind and a screensaver service. (Expiry notifications are
// proved by the engine's unit tests and NotificationTest against a real daemon.)

#include "CompositionRoot.h"
#include "DBusMockProbe.h"
#include "Engine/TremlorEngine.h"
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"
#include "Platform/X11/RunningApps.h"
#include "Platform/X11/WindowActivation.h"
#include "support/ScheduleWindow.h"
#include "support/ScreenSaverMock.h"
#include "support/TestDesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

using namespace tremlor;
using probe::waitUntil;
using tremlor::testing::windowAroundNow;

namespace {

const QString kReason = QStringLiteral("Tremlor is keeping the system awake");
const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

// What the user would see on the private desktop: where the pointer is, which window is active.
class XProbe {
public:
    explicit XProbe(const QString& display)
        : m_display(x11::RunningApps::openDisplay(display))
    {
    }
    bool ok() const { return m_display != nullptr; }

    QPoint pointer() const
    {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, winX = 0, winY = 0;
        unsigned int mask = 0;
        XQueryPointer(
            m_display.get(), DefaultRootWindow(m_display.get()), &root, &child, &rootX, &rootY, &winX, &winY, &mask);
        return { rootX, rootY };
    }

    // The WM_CLASS class of the window the window manager marks active; empty when none.
    QString activeWindowClass() const
    {
        const unsigned long active = x11::WindowActivation(m_display).activeWindow();
        for (const auto& client : x11::RunningApps(m_display).clients()) {
            if (client.window == active)
                return client.windowClass;
        }
        return {};
    }

private:
    x11::DisplayHandle m_display;
};

} // namespace

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
    const QString applications = desktop.home() + "/.local/share/applications";
    ASSERT_TRUE(QDir().mkpath(applications));
    QFile entryFile(applications + "/xterm.desktop");
    ASSERT_TRUE(entryFile.open(QIODevice::WriteOnly));
    entryFile.write("[Desktop Entry]\nType=Application\nName=XTerm\n"
                    "Exec=xterm -name tremlorterm -class TremlorTerm\nStartupWMClass=TremlorTerm\n");
    entryFile.close();
    ASSERT_TRUE(desktop.startProcess("xterm", { "-name", "tremlorterm", "-class", "TremlorTerm" }));
    ASSERT_TRUE(desktop.waitForWindow("TremlorTerm"));
    ASSERT_TRUE(desktop.startProcess("xterm", { "-name", "decoy", "-class", "Decoy" }));
    ASSERT_TRUE(desktop.waitForWindow("Decoy"));
    XProbe x(desktop.display());
    ASSERT_TRUE(x.ok());
    ASSERT_TRUE(waitUntil([&] { return x.activeWindowClass() == "Decoy"; }));

    // The defaults file, as a previous run left it.
    Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = "Terminal";
    profile.selectedAppBundleIDs = { "xterm" };
    profile.caffeineEnabled = true;
    profile.maxInterval = 1.0;
    profile.jiggleDistance = 40.0;
    profile.movementPattern = MovementPattern::drift;
    {
        UserDefaults defaults(UserDefaults::defaultFolder());
        TremlorSettings settings(defaults);
        settings.setProfiles({ profile });
        settings.setScheduleEntries({ windowAroundNow(-60, 60, profile.id) });
        ASSERT_TRUE(defaults.synchronize());
    }

    const QPoint before = x.pointer();
    CompositionRoot root;
    TremlorEngine& engine = root.engine();
    EXPECT_FALSE(engine.isActive()); // started from the event loop, after construction
    ASSERT_TRUE(waitUntil([&] { return engine.isActive(); }));
    EXPECT_EQ(root.settings().activeProfileId(), profile.id.toString(QUuid::WithoutBraces).toUpper());

    EXPECT_TRUE(waitUntil([&] { return x.pointer() != before; }, 8000));
    EXPECT_TRUE(waitUntil([&] { return x.activeWindowClass() == "TremlorTerm"; }));

    probe::Bus system(desktop.systemBusAddress());
    probe::Bus session(desktop.sessionBusAddress());
    const auto inhibits = session.calls(kScreenSaver, kScreenSaverPath, "Inhibit");
    ASSERT_EQ(inhibits.size(), 1u);
    EXPECT_EQ(inhibits[0].args, (QVariantList { "Tremlor", kReason }));
    EXPECT_EQ(system.inhibitors(), QStringList { "idle:sleep|Tremlor|" + kReason + "|block" });

    // The window now ended a minute ago.
    root.settings().setScheduleEntries({ windowAroundNow(-61, -1, profile.id) });
    ASSERT_TRUE(waitUntil([&] { return !engine.isActive(); }));
    EXPECT_TRUE(waitUntil([&] { return session.calls(kScreenSaver, kScreenSaverPath, "UnInhibit").size() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return system.inhibitors().isEmpty(); }));
}
