#include "support/TestDesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

// The private desktop itself: everything the backend tests rely on comes up.
TEST(TestDesktop, StartsXServerWindowManagerAndBothBuses)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    Display* d = XOpenDisplay(desktop.display().toLocal8Bit().constData());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(DisplayWidth(d, DefaultScreen(d)), 1920);
    XCloseDisplay(d);

    ASSERT_NE(desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" }),
              nullptr)
        << desktop.error().toStdString();
    QDBusConnection system = QDBusConnection::connectToBus(desktop.systemBusAddress(), "probe");
    EXPECT_TRUE(system.interface()->isServiceRegistered("org.freedesktop.login1").value());
    QDBusConnection::disconnectFromBus("probe");
}
