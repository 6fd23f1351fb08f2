#include "KestuDesign/Utilities/KestuX11Taskbar.h"

#include "KestuDesign/Utilities/KestuDockVisibility.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace kestu {

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

std::vector<xcb_atom_t> currentStates(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netWmState)
{
    std::vector<xcb_atom_t> states;
    auto cookie = xcb_get_property(c, 0, window, netWmState, XCB_ATOM_ATOM, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply)
        return states;
    if (reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return states;
}

// A floating tool window belongs to the application's windows, never to the taskbar.
bool staysOffTaskbar(const QWindow* window)
{
    return window->type() == Qt::Tool;
}

bool skipsTaskbar(const QWindow* window, KestuActivationPolicy policy)
{
    return policy == KestuActivationPolicy::accessory || staysOffTaskbar(window);
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t window)
{
    auto* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    const xcb_window_t root = geometry ? geometry->root : xcb_window_t(XCB_WINDOW_NONE);
    std::free(geometry);
    return root;
}

// Marks windows each time they are shown while they are to skip the taskbar: the window
// manager drops _NET_WM_STATE when a window is hidden, and Qt maps it again without our states.
class ShowWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Expose || type == QEvent::Hide) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isTopLevel() && window->handle()
                && skipsTaskbar(window, KestuDockVisibility::activationPolicy()))
                onVisibilityEvent(window, type);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void onVisibilityEvent(QWindow* window, QEvent::Type type)
    {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return;
        if (type == QEvent::Hide) {
            window->setProperty(marked, false);
        } else if (type == QEvent::Show) {
            // Before the map: written into the window's own property, read by the window
            // manager as it maps the window.
            KestuX11Taskbar::setSkipTaskbar(x11->connection(), quint32(window->winId()), true);
            window->setProperty(marked, false);
        } else if (window->isExposed() && !window->property(marked).toBool()) {
            // Mapped: asked of the window manager once per showing.
            KestuX11Taskbar::setSkipTaskbar(x11->connection(), quint32(window->winId()), true);
            window->setProperty(marked, true);
        }
    }

public:
    static constexpr const char* marked = "kestuSkipTaskbar";
};

// The root's property of 32-bit window ids; empty when unusable.
std::vector<quint32> rootWindows(void* xcbConnection, const char* property, uint32_t maxCount)
{
    auto* c = static_cast<xcb_connection_t*>(xcbConnection);
    std::vector<quint32> windows;
    if (!c || xcb_connection_has_error(c))
        return windows;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, property), XCB_ATOM_WINDOW, 0, maxCount), nullptr);
    if (reply && reply->format == 32) {
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        windows.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return windows;
}
} // namespace

quint32 KestuX11Taskbar::activeWindow(void* xcbConnection)
{
    const std::vector<quint32> active = rootWindows(xcbConnection, "_NET_ACTIVE_WINDOW", 1);
    return active.empty() ? 0 : active.front();
}

std::vector<quint32> KestuX11Taskbar::clientWindows(void* xcbConnection)
{
    return rootWindows(xcbConnection, "_NET_CLIENT_LIST", 1 << 16);
}

bool KestuX11Taskbar::activate(void* xcbConnection, quint32 window, quint32 userTime)
{
    auto* c = static_cast<xcb_connection_t*>(xcbConnection);
    if (!c || xcb_connection_has_error(c) || window == 0)
        return false;
    const xcb_window_t root = rootOf(c, window);
    const xcb_atom_t netActiveWindow = atom(c, "_NET_ACTIVE_WINDOW");
    if (root == XCB_WINDOW_NONE || netActiveWindow == XCB_ATOM_NONE)
        return false;
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = netActiveWindow;
    message.data.data32[0] = 2; // for the user, as a pager asks
    message.data.data32[1] = userTime;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    return true;
}

bool KestuX11Taskbar::setSkipTaskbar(void* xcbConnection, quint32 window, bool skip)
{
    auto* c = static_cast<xcb_connection_t*>(xcbConnection);
    if (!c || xcb_connection_has_error(c))
        return false;
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE || skipPager == XCB_ATOM_NONE)
        return false;

    auto attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    auto geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!attributes || !geometry) {
        std::free(attributes);
        std::free(geometry);
        return false;
    }
    const bool mapped = attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    const xcb_window_t root = geometry->root;
    std::free(attributes);
    std::free(geometry);

    if (mapped) {
        // A mapped window asks the window manager (EWMH _NET_WM_STATE client message).
        xcb_client_message_event_t message {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = netWmState;
        message.data.data32[0] = skip ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
        message.data.data32[1] = skipTaskbar;
        message.data.data32[2] = skipPager;
        message.data.data32[3] = 1; // from a normal application
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
            reinterpret_cast<const char*>(&message));
    } else {
        // A withdrawn window states it in its own property before it is mapped.
        std::vector<xcb_atom_t> states = currentStates(c, window, netWmState);
        std::erase(states, skipTaskbar);
        std::erase(states, skipPager);
        if (skip) {
            states.push_back(skipTaskbar);
            states.push_back(skipPager);
        }
        xcb_change_property(
            c, XCB_PROP_MODE_REPLACE, window, netWmState, XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.data());
    }
    xcb_flush(c);
    return true;
}

void KestuX11Taskbar::installForApplication()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return;
    static ShowWatcher* watcher = [] {
        auto* w = new ShowWatcher(qGuiApp);
        qGuiApp->installEventFilter(w);
        return w;
    }();
    Q_UNUSED(watcher);
    KestuDockVisibility::setApplier([](KestuActivationPolicy policy) {
        auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!app)
            return;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (!window->handle())
                continue;
            const bool skip = skipsTaskbar(window, policy);
            setSkipTaskbar(app->connection(), quint32(window->winId()), skip);
            window->setProperty(ShowWatcher::marked, skip && window->isExposed());
        }
    });
}

} // namespace kestu
