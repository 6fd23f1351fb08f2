#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "KestuDesign/Utilities/KestuX11Taskbar.h"
#include "XcbClient.h"
#include "support/TestDesktop.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace kestu;

TEST(KestuX11Taskbar, MarksMappedAndWithdrawnWindowsThroughTheWindowManager)
{
    TestDesktop desktop(TestDesktop::Options { true, true, false, false, QStringLiteral("800x600x24"), false });
    REQUIRE_DESKTOP(desktop);
    XcbClient x(desktop.display());
    ASSERT_EQ(xcb_connection_has_error(x.c), 0);

    // A window already on screen: the window manager takes the request.
    const xcb_window_t shown = x.window();
    ASSERT_TRUE(x.showManaged(shown));
    ASSERT_TRUE(KestuX11Taskbar::setSkipTaskbar(x.c, shown, true));
    EXPECT_TRUE(waitUntil([&] { return x.skipsTaskbar(shown); }));
    ASSERT_TRUE(KestuX11Taskbar::setSkipTaskbar(x.c, shown, false));
    EXPECT_TRUE(waitUntil([&] { return !x.skipsTaskbar(shown); }));

    // No connection, or a window that does not exist, is refused without harm.
    EXPECT_FALSE(KestuX11Taskbar::setSkipTaskbar(nullptr, shown, true));
    EXPECT_FALSE(KestuX11Taskbar::setSkipTaskbar(x.c, 0x7fffff0, true));
}

// The settings window is hidden and shown again and again: it must stay off the taskbar each
// time. Qt on X11 is needed, so the case runs in a child of this test program on the desktop.
TEST(KestuX11Taskbar, WindowShownAgainStaysOffTheTaskbar)
{
    if (qEnvironmentVariableIsEmpty("KESTU_TASKBAR_CHILD")) {
        TestDesktop desktop(TestDesktop::Options { true, true, false, false, QStringLiteral("800x600x24"), false });
        REQUIRE_DESKTOP(desktop);
        QProcess child;
        QProcessEnvironment env = desktop.environment(); // on the private display
        env.insert("KESTU_TASKBAR_CHILD", "1");
        env.insert("QT_QPA_PLATFORM", "xcb");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { "--gtest_filter=KestuX11Taskbar.WindowShownAgainStaysOffTheTaskbar" });
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        return;
    }
    XcbClient x(qEnvironmentVariable("DISPLAY"));
    ASSERT_EQ(xcb_connection_has_error(x.c), 0);
    KestuDockVisibility::setDockVisibility(false);
    QWidget window;
    window.resize(200, 120);
    for (int showing = 1; showing <= 3; ++showing) {
        SCOPED_TRACE(showing);
        window.show();
        const auto id = xcb_window_t(window.winId());
        // Openbox may drop a map request made just as it starts: show again until managed.
        for (int attempt = 0; attempt < 5 && !waitUntil([&] { return !x.atoms(id, "WM_STATE").empty(); }, 2000);
             ++attempt) {
            window.hide();
            window.show();
        }
        EXPECT_TRUE(waitUntil([&] { return x.skipsTaskbar(id); }, 5000));
        window.hide(); // openbox drops _NET_WM_STATE of the withdrawn window
        waitUntil([&] { return !x.skipsTaskbar(id); }, 1000);
    }
}
