#include "AppDesktop.h"
#include "Engine/IdleDetector.h"
#include "Platform/X11/InputExtensions.h"
#include "Platform/X11/SystemMouseMover.h"
#include "Platform/X11/X11InputIdleSource.h"
#include "Platform/X11/X11InputListener.h"
#include "core/InputFakes.h"
#include "support/TestDesktop.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <cmath>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace tremlor;
using namespace tremlor::testing;

namespace {

QPoint pointerOf(const QString& display)
{
    Display* d = XOpenDisplay(display.toLocal8Bit().constData());
    if (!d)
        return { -1, -1 };
    Window root = 0, child = 0;
    int x = -1, y = -1, wx = 0, wy = 0;
    unsigned int mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &x, &y, &wx, &wy, &mask);
    XCloseDisplay(d);
    return { x, y };
}

bool keyIsDown(const QString& display, KeySym keysym)
{
    Display* d = XOpenDisplay(display.toLocal8Bit().constData());
    if (!d)
        return false;
    char keys[32] = {};
    XQueryKeymap(d, keys);
    const KeyCode code = XKeysymToKeycode(d, keysym);
    XCloseDisplay(d);
    return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
}

double since(x11::X11InputListener& listener, InputEventType type)
{
    return listener.secondsSinceLastEvent(type, std::chrono::steady_clock::now());
}

// A bare X server of our own, for servers without XTest or that go away mid-test.
TestDesktop::Options bareServer(const QStringList& extra = {})
{
    TestDesktop::Options options = TestDesktop::Options::xServerOnly();
    options.screen = QStringLiteral("640x480x24");
    options.serverArguments = extra;
    options.exportEnvironment = false;
    return options;
}

MouseMover::Seams quickSeams(std::shared_ptr<ManualTimers> timers)
{
    return { .sleep = [](std::chrono::microseconds) {}, .timers = std::move(timers) };
}

} // namespace

TEST(InputBackends, PosterMovesTheRealPointerClampsAbsurdPointsAndReportsTheMonitors)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    EXPECT_TRUE(x11::hasInputExtensions(desktop.display()));
    auto poster = std::make_shared<SystemMouseMover>(desktop.display());
    ASSERT_TRUE(poster->canPost());

    poster->moveCursor({ 300.4, 200.6 });
    EXPECT_EQ(pointerOf(desktop.display()), QPoint(300, 201));
    EXPECT_EQ(poster->cursorLocation(), QPointF(300, 201));
    // Absurd points are clamped to the screen or dropped, never converted blindly.
    poster->moveCursor({ 1e300, -1e300 });
    EXPECT_EQ(pointerOf(desktop.display()), QPoint(1919, 0));
    poster->moveCursor({ std::nan(""), 10 });
    EXPECT_EQ(pointerOf(desktop.display()), QPoint(1919, 0));

    // Displays are XRandR's monitors; that curves keep to a display is the mover's own test
    // (NaturalMovement.CurvesNeverLeaveTheirDisplay).
    for (const QStringList& args : { QStringList { "--setmonitor", "left", "1000/260x1080/290+0+0", "none" },
             QStringList { "--setmonitor", "right", "920/240x1080/290+1000+0", "none" } }) {
        QProcess* xrandr = desktop.startProcess("xrandr", args);
        ASSERT_NE(xrandr, nullptr);
        ASSERT_TRUE(xrandr->waitForFinished(5000));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return poster->displayBounds({ 1500, 500 }) == QRectF(1000, 0, 920, 1080); }));
    EXPECT_EQ(poster->displayBounds({ 10, 10 }), QRectF(0, 0, 1000, 1080));
    EXPECT_EQ(poster->screenBounds(), QRectF(0, 0, 1920, 1080));
}

TEST(InputBackends, KeysClicksScrollsAndDragsArriveAsRawEvents)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    x11::X11InputListener listener(desktop.display());
    ASSERT_TRUE(listener.isListening());
    x11::X11InputIdleSource source(desktop.display()); // the idle monitor's view of the same events
    ASSERT_TRUE(source.isListening());

    SystemMouseMover poster(desktop.display());
    apptest::XWindows x(desktop.display());
    const apptest::Window foreign = x.map({ 1000, 300, 400, 300 });
    const QRect client = x.geometry(foreign);
    const SyntheticTime before = std::chrono::steady_clock::now();
    poster.pressKey(56); // Shift
    EXPECT_TRUE(QTest::qWaitFor([&] { return since(listener, InputEventType::keyDown) < 2.0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.secondsSinceLastEvent(InputEventType::keyDown) < 2.0; }));
    EXPECT_GT(MouseMover::lastSyntheticNonMouseTime(), before);
    // The click is stamped as the program's own: the idle monitor, which sees it come from the
    // server like any other, keeps the user idle. The same click unstamped is the user's.
    MouseMover::setLastSyntheticNonMouseTime(distantPast);
    poster.click(client.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return since(listener, InputEventType::leftMouseDown) < 2.0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return source.secondsSinceLastEvent(InputEventType::leftMouseDown) < 2.0; }));
    EXPECT_EQ(pointerOf(desktop.display()), client.center());
    for (const bool stamped : { true, false }) {
        if (!stamped)
            MouseMover::setLastSyntheticNonMouseTime(distantPast);
        auto checks = std::make_shared<ManualTimers>();
        SystemIdleMonitor monitor(
            std::shared_ptr<InputIdleSource>(&source, [](InputIdleSource*) {}), { .clock = nullptr, .timers = checks });
        monitor.startMonitoring(30);
        ASSERT_TRUE(checks->fireLast());
        EXPECT_EQ(monitor.isUserIdle(), stamped);
    }

    // 25 pixels make two wheel steps (press and release each); 5 more complete a third. Wheel steps
    // and clicks go only into another application's window: the window manager takes any other
    // (openbox switches desktops with the wheel), a panel's taskbar iconifies, a frame closes, and
    // in our own windows they change settings.
    const apptest::Window background = x.map({ 0, 0, 400, 400 }, "_NET_WM_WINDOW_TYPE_DESKTOP");
    const apptest::Window own = x.map({ 500, 300, 300, 300 }, "_NET_WM_WINDOW_TYPE_NORMAL", true);
    const QRect ownPopup = x.geometry(x.map({ 500, 700, 200, 100 }, "_NET_WM_WINDOW_TYPE_COMBO", true));
    const QRect dock = x.geometry(x.map({ 0, 1040, 1920, 40 }, "_NET_WM_WINDOW_TYPE_DOCK"));
    ASSERT_TRUE(background && client.top() > 10 && !client.intersects(x.geometry(background))) << client.top();
    const auto noClicks = std::chrono::steady_clock::now();
    for (const QPoint at : { QPoint(1800, 1000), QPoint(200, 200), QPoint(client.center().x(), client.top() - 5),
             dock.center(), x.geometry(own).center(), ownPopup.center() }) {
        poster.click(at); // moves there and presses nothing
        QThread::msleep(50);
        const auto count = listener.eventCount();
        poster.scroll(-30, 0);
        QThread::msleep(150);
        EXPECT_EQ(listener.eventCount(), count) << at.x() << ',' << at.y();
    }
    EXPECT_GE(listener.secondsSinceLastEvent(InputEventType::leftMouseDown, noClicks), 0.0);
    poster.moveCursor(client.center());
    QThread::msleep(50);
    const auto count = listener.eventCount();
    poster.scroll(25, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return since(listener, InputEventType::scrollWheel) < 2.0; }));
    QThread::msleep(100);
    EXPECT_EQ(listener.eventCount(), count + 4);
    poster.scroll(5, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.eventCount() == count + 6; }));
    poster.scroll(-9, 0); // less than a step: nothing
    QThread::msleep(100);
    EXPECT_EQ(listener.eventCount(), count + 6);

    // No click on a window of ours and no navigation key while one has the keyboard: the cursor
    // moves (one event), and an inert key goes on (one more).
    const auto mark = std::chrono::steady_clock::now();
    const auto seen = listener.eventCount();
    poster.click(ownPopup.center());
    QProcess::execute("xdotool", { "windowfocus", QString::number(own) });
    poster.pressKey(125); // Down
    poster.pressKey(56);
    QThread::msleep(150);
    EXPECT_EQ(listener.eventCount(), seen + 2);
    EXPECT_GE(listener.secondsSinceLastEvent(InputEventType::leftMouseDown, mark), 0.0);
    QProcess::execute("xdotool", { "windowfocus", QString::number(foreign) });
    poster.pressKey(125);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.eventCount() == seen + 3; }));

    // A drag by another XTest client, as a remote-desktop tool would deliver it.
    Display* other = XOpenDisplay(desktop.display().toLocal8Bit().constData());
    ASSERT_NE(other, nullptr);
    XTestFakeButtonEvent(other, 1, True, CurrentTime);
    XTestFakeMotionEvent(other, -1, 400, 400, CurrentTime);
    XTestFakeButtonEvent(other, 1, False, CurrentTime);
    XFlush(other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return since(listener, InputEventType::leftMouseDragged) < 2.0; }));
    XTestFakeMotionEvent(other, -1, 300, 300, CurrentTime);
    XSync(other, False);
    XCloseDisplay(other);
    QThread::msleep(100);
    EXPECT_GT(since(listener, InputEventType::leftMouseDragged), since(listener, InputEventType::mouseMoved));

    // Keys without a key code in this keymap (F15, F16, Fn on a stock layout) are skipped.
    poster.pressKey(113);
    poster.pressKey(63);
    poster.pressKey(999);

    // A key still held when the poster goes is released; the mover's end releases too, before
    // the poster itself goes.
    {
        auto holding = std::make_shared<SystemMouseMover>(desktop.display());
        holding->postKey(56, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return keyIsDown(desktop.display(), XK_Shift_L); }));
        MouseMover mover(holding, quickSeams(std::make_shared<ManualTimers>()));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !keyIsDown(desktop.display(), XK_Shift_L); }));
}

TEST(InputBackends, NoDisplayNoXTestOrALostServerNeverCrash)
{
    // A server without XTest: not trusted, nothing posted. (Kept up until the end, so the next
    // server gets a display number of its own.)
    TestDesktop withoutXTest(bareServer({ "-extension", "XTEST" }));
    // No display at all: a number nobody serves, not even with a server of its own at the first
    // number absentDisplay would think of. Nothing posts; the mover keeps its schedule.
    {
        QProcess squatter;
        squatter.start("Xvfb", { ":900", "-nolisten", "tcp" });
        ASSERT_TRUE(squatter.waitForStarted(5000));
        for (int i = 0; i < 200 && !QFile::exists("/tmp/.X11-unix/X900"); ++i)
            QThread::msleep(20);
        const QString absent = TestDesktop::absentDisplay();
        EXPECT_TRUE(absent != ":900" && absent != withoutXTest.display()) << absent.toStdString();
        EXPECT_EQ(XOpenDisplay(absent.toLocal8Bit().constData()), nullptr);
        auto poster = std::make_shared<SystemMouseMover>(absent);
        EXPECT_FALSE(poster->canPost());
        EXPECT_FALSE(x11::hasInputExtensions(absent));
        EXPECT_EQ(poster->cursorLocation(), QPointF());
        EXPECT_FALSE(poster->displayBounds({}).isValid());
        auto timers = std::make_shared<ManualTimers>();
        MouseMover mover(poster, quickSeams(timers));
        int jiggles = 0;
        mover.setOnJiggle([&] { ++jiggles; });
        for (auto pattern : allCases<MovementPattern>()) {
            mover.start(1.0, 10.0, pattern, true, true);
            mover.waitUntilIdle();
            ASSERT_TRUE(timers->fireLast());
        }
        EXPECT_EQ(jiggles, 4);
        EXPECT_EQ(timers->liveCount(), 1u);
        x11::X11InputListener listener(absent);
        EXPECT_FALSE(listener.isListening());
    }
    {
        ASSERT_TRUE(withoutXTest.ok()) << withoutXTest.error().toStdString();
        EXPECT_FALSE(x11::hasInputExtensions(withoutXTest.display()));
        SystemMouseMover poster(withoutXTest.display());
        EXPECT_FALSE(poster.canPost());
        poster.moveCursor({ 100, 100 });
        poster.pressKey(56);
        EXPECT_EQ(poster.screenBounds(), QRectF(0, 0, 640, 480));
    }
    // A server that goes away during a session.
    {
        TestDesktop server(bareServer());
        ASSERT_TRUE(server.ok()) << server.error().toStdString();
        EXPECT_TRUE(x11::hasInputExtensions(server.display()));
        auto poster = std::make_shared<SystemMouseMover>(server.display());
        x11::X11InputIdleSource source(server.display());
        ASSERT_TRUE(source.isListening());
        poster->postKey(56, true);
        server.killXServer();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !source.isListening(); }));
        poster->moveCursor({ 10, 10 });
        poster->click({ 10, 10 });
        poster->scroll(100, 100);
        EXPECT_EQ(poster->cursorLocation(), QPointF());
        EXPECT_EQ(source.cursorLocation(), QPointF());
        EXPECT_FALSE(poster->canPost());
        poster->releaseAll();
    }
}
