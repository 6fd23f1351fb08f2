#include "KestuDesign/Utilities/KestuDockVisibility.h"
#include "KestuDesign/Utilities/KestuX11Taskbar.h"
#include "support/TestDesktop.h"
#include "support/WaitUntil.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

using namespace kestu;

namespace {
struct X {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;

    explicit X(const QString& display)
    {
        c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (!xcb_connection_has_error(c))
            root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }
    ~X() { xcb_disconnect(c); }

    xcb_atom_t atom(const char* name) const
    {
        auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    }

    xcb_window_t window() const
    {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root, 10, 10, 120, 80, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_flush(c);
        return w;
    }

    std::vector<xcb_atom_t> atoms(xcb_window_t w, const char* property) const
    {
        std::vector<xcb_atom_t> result;
        auto* reply
            = xcb_get_property_reply(c, xcb_get_property(c, 0, w, atom(property), XCB_ATOM_ANY, 0, 256), nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            result.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return result;
    }

    bool skipsTaskbar(xcb_window_t w) const
    {
        const auto states = atoms(w, "_NET_WM_STATE");
        const auto has
            = [&](const char* name) { return std::find(states.begin(), states.end(), atom(name)) != states.end(); };
        return has("_NET_WM_STATE_SKIP_TASKBAR") && has("_NET_WM_STATE_SKIP_PAGER");
    }

    // Maps the window and waits until the window manager manages it. Openbox announces itself
    // a moment before it handles map requests, so a request it dropped is made again.
    bool showManaged(xcb_window_t w) const
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            xcb_map_window(c, w);
            xcb_flush(c);
            if (waitUntil([&] { return !atoms(w, "WM_STATE").empty(); }, 250))
                return true;
            xcb_unmap_window(c, w);
            xcb_flush(c);
        }
        return false;
    }
};
} // namespace

TEST(KestuX11Taskbar, MarksMappedAndWithdrawnWindowsThroughTheWindowManager)
{
    TestDesktop desktop(TestDesktop::Options { true, true, false, false, QStringLiteral("800x600x24"), false });
    REQUIRE_DESKTOP(desktop);
    X x(desktop.display());
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
    X x(qEnvironmentVariable("DISPLAY"));
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
