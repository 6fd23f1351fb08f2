#include "support/TestDesktop.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

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
