#include "support/TestDesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QThread>

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

    ASSERT_NE(
        desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" }), nullptr)
        << desktop.error().toStdString();
    QDBusConnection system = QDBusConnection::connectToBus(desktop.systemBusAddress(), "probe");
    EXPECT_TRUE(system.interface()->isServiceRegistered("org.freedesktop.login1").value());
    QDBusConnection::disconnectFromBus("probe");
}

// "No display" cases need a number nobody serves, even with servers running at fixed numbers.
TEST(TestDesktop, AbsentDisplayIsNoneOfTheRunningServers)
{
    TestDesktop desktop(TestDesktop::Options::xServerOnly());
    REQUIRE_DESKTOP(desktop);
    QProcess squatter; // a server of its own at the first number absentDisplay would think of
    squatter.start("Xvfb", { ":900", "-nolisten", "tcp" });
    ASSERT_TRUE(squatter.waitForStarted(5000));
    for (int i = 0; i < 200 && !QFile::exists("/tmp/.X11-unix/X900"); ++i)
        QThread::msleep(20);
    const QString absent = TestDesktop::absentDisplay();
    EXPECT_NE(absent, ":900");
    EXPECT_NE(absent, desktop.display());
    EXPECT_EQ(XOpenDisplay(absent.toLocal8Bit().constData()), nullptr);
    squatter.terminate();
    squatter.waitForFinished(5000);
}
