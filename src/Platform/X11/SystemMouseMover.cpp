#include "Platform/X11/SystemMouseMover.h"

#include "Platform/Clock.h"
#include "Platform/Dispatch.h"
#include "Platform/Random.h"
#include "Platform/SyntheticInput.h"
#include "Platform/X11/X11Connection.h"

#include <algorithm>
#include <cmath>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace tremlor {

namespace {

constexpr unsigned long fnKeysym = 0x100811D0;

template <typename T> std::shared_ptr<T> unowned(T& value)
{
    return std::shared_ptr<T>(&value, [](T*) {});
}

// Arrows, Page Up and Down, Home and End (XK_Home to XK_End): they move a focused control.
bool isNavigationKeysym(unsigned long keysym)
{
    return keysym >= XK_Home && keysym <= XK_End;
}

// A coordinate of the root window, or nullopt when it cannot be one.
std::optional<int> pixel(double value, double size)
{
    if (!std::isfinite(value) || size < 1.0)
        return std::nullopt;
    return static_cast<int>(std::clamp(std::round(value), 0.0, size - 1.0));
}

// Holds the server from a look at the pointer to the events posted there, so that no other
// client moves the pointer in between.
class ServerGrab final {
public:
    explicit ServerGrab(Display* d)
        : m_display(d)
    {
        if (m_display)
            XGrabServer(m_display);
    }
    ~ServerGrab()
    {
        if (m_display) {
            XUngrabServer(m_display);
            XFlush(m_display);
        }
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* m_display;
};

} // namespace

SystemMouseMover::SystemMouseMover()
    : SystemMouseMover(QString())
{
}

SystemMouseMover::SystemMouseMover(
    const QString& displayName, std::shared_ptr<RandomSource> random, std::shared_ptr<const Clock> clock)
    : m_random(random ? std::move(random) : unowned(SystemRandom::instance()))
    , m_clock(clock ? std::move(clock) : std::shared_ptr<const Clock>(&SystemClock::instance(), [](const Clock*) {}))
    , m_connection(std::make_unique<x11::X11Connection>(displayName))
{
    if (Display* d = m_connection->display()) {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        m_hasXTest = XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor);
        // Our fake events must not be held back by another client's server grab.
        if (m_hasXTest)
            XTestGrabControl(d, True);
    }
}

SystemMouseMover::~SystemMouseMover()
{
    releaseAll();
}

bool SystemMouseMover::canPost() const
{
    std::lock_guard guard(m_lock);
    return m_hasXTest && m_connection->isOpen();
}

std::optional<unsigned long> SystemMouseMover::keysymFor(quint16 keyCode)
{
    switch (keyCode) {
    case 113:
        return XK_F15;
    case 56:
        return XK_Shift_L;
    case 60:
        return XK_Shift_R;
    case 106:
        return XK_F16;
    case 63:
        return fnKeysym;
    case 126:
        return XK_Up;
    case 125:
        return XK_Down;
    case 123:
        return XK_Left;
    case 124:
        return XK_Right;
    case 116:
        return XK_Prior;
    case 121:
        return XK_Next;
    case 115:
        return XK_Home;
    case 119:
        return XK_End;
    default:
        return std::nullopt;
    }
}

void SystemMouseMover::sleepMicros(int low, int high)
{
    dispatch::sleepFor(std::chrono::microseconds(m_random->uniformInt(low, high)));
}

void SystemMouseMover::flush()
{
    if (Display* d = m_connection->display())
        XFlush(d);
}

void SystemMouseMover::fakeMotion(QPointF to)
{
    Display* d = m_connection->display();
    if (!d || !m_hasXTest)
        return;
    const int screen = DefaultScreen(d);
    const auto x = pixel(to.x(), DisplayWidth(d, screen));
    const auto y = pixel(to.y(), DisplayHeight(d, screen));
    if (!x || !y)
        return;
    // One XTest motion both warps the pointer and makes the motion event.
    XTestFakeMotionEvent(d, -1, *x, *y, CurrentTime);
}

void SystemMouseMover::fakeButton(unsigned int button, bool down)
{
    Display* d = m_connection->display();
    if (!d || !m_hasXTest)
        return;
    XTestFakeButtonEvent(d, button, down ? True : False, CurrentTime);
    if (down)
        m_heldButtons.insert(button);
    else
        m_heldButtons.erase(button);
}

void SystemMouseMover::moveCursor(QPointF to)
{
    std::lock_guard guard(m_lock);
    fakeMotion(to);
    flush();
}

void SystemMouseMover::click(QPointF at)
{
    {
        std::lock_guard guard(m_lock);
        const ServerGrab grab(m_connection->display());
        fakeMotion(at);
        // Only into another application's window: on ours it would press whatever lies there (a
        // chip, Stop, Quit), on a panel it would iconify a window or start a program, on a frame
        // close a window, and on the desktop take the keyboard from the window that has it.
        if (!m_connection->pointerIsOverOtherApplication()) {
            flush();
            return;
        }
        fakeButton(Button1, true);
        flush();
    }
    sleepMicros(30'000, 80'000);
    {
        std::lock_guard guard(m_lock);
        fakeButton(Button1, false);
        flush();
    }
    syntheticInput::setLastNonMouseTime(m_clock->monotonicNow());
}

void SystemMouseMover::postKey(quint16 keyCode, bool down)
{
    const auto keysym = keysymFor(keyCode);
    std::lock_guard guard(m_lock);
    Display* d = m_connection->display();
    if (!d || !m_hasXTest || !keysym)
        return;
    // A keysym the keymap lacks is skipped: never press whatever key happens to sit nearby.
    const KeyCode keycode = XKeysymToKeycode(d, *keysym);
    if (keycode == 0)
        return;
    if (!down && m_heldKeycodes.count(keycode) == 0)
        return;
    // In one of our own windows it would move the focused control and rewrite a setting.
    if (down && isNavigationKeysym(*keysym) && m_connection->keyboardIsInOwnWindow())
        return;
    XTestFakeKeyEvent(d, keycode, down ? True : False, CurrentTime);
    if (down)
        m_heldKeycodes.insert(keycode);
    else
        m_heldKeycodes.erase(keycode);
    flush();
}

void SystemMouseMover::pressKey(quint16 keyCode)
{
    postKey(keyCode, true);
    sleepMicros(20'000, 60'000);
    postKey(keyCode, false);
    syntheticInput::setLastNonMouseTime(m_clock->monotonicNow());
}

void SystemMouseMover::scroll(int verticalPixels, int horizontalPixels)
{
    std::lock_guard guard(m_lock);
    const ServerGrab grab(m_connection->display());
    // Over the desktop the window manager takes the wheel (openbox switches desktops with it), a
    // panel iconifies with it, and our own windows would change a setting with it.
    if (!m_connection->pointerIsOverOtherApplication()) {
        m_verticalPixels = m_horizontalPixels = 0.0;
        return;
    }
    m_verticalPixels += verticalPixels;
    m_horizontalPixels += horizontalPixels;
    const auto wholeSteps = [](double& pixels) {
        const int steps = static_cast<int>(std::trunc(pixels / pixelsPerWheelStep));
        pixels -= steps * pixelsPerWheelStep;
        return steps;
    };
    const int vertical = wholeSteps(m_verticalPixels);
    const int horizontal = wholeSteps(m_horizontalPixels);
    // Positive amounts scroll up and left (buttons 4 and 6), negative down and right.
    for (int i = 0; i < std::abs(vertical); ++i) {
        fakeButton(vertical > 0 ? 4 : 5, true);
        fakeButton(vertical > 0 ? 4 : 5, false);
    }
    for (int i = 0; i < std::abs(horizontal); ++i) {
        fakeButton(horizontal > 0 ? 6 : 7, true);
        fakeButton(horizontal > 0 ? 6 : 7, false);
    }
    flush();
}

QPointF SystemMouseMover::cursorLocation()
{
    std::lock_guard guard(m_lock);
    return m_connection->cursorLocation();
}

QRectF SystemMouseMover::displayBounds(QPointF point)
{
    std::lock_guard guard(m_lock);
    return m_connection->displayBounds(point);
}

QRectF SystemMouseMover::screenBounds()
{
    std::lock_guard guard(m_lock);
    return m_connection->screenBounds();
}

void SystemMouseMover::releaseAll()
{
    std::lock_guard guard(m_lock);
    Display* d = m_connection->display();
    if (d && m_hasXTest) {
        for (unsigned int keycode : m_heldKeycodes)
            XTestFakeKeyEvent(d, keycode, False, CurrentTime);
        for (unsigned int button : m_heldButtons)
            XTestFakeButtonEvent(d, button, False, CurrentTime);
        XFlush(d);
    }
    m_heldKeycodes.clear();
    m_heldButtons.clear();
}

} // namespace tremlor
