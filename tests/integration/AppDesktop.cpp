#include "AppDesktop.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace apptest {

namespace {
Display* dpy(void* d)
{
    return static_cast<Display*>(d);
}

QString titleOf(Display* d, Window w)
{
    XTextProperty name {};
    if (!XGetTextProperty(d, w, &name, XInternAtom(d, "_NET_WM_NAME", False)) || !name.value)
        return {};
    const QString title = QString::fromUtf8(reinterpret_cast<const char*>(name.value), int(name.nitems));
    XFree(name.value);
    return title;
}

QString classOf(Display* d, Window w)
{
    XClassHint hint {};
    if (!XGetClassHint(d, w, &hint))
        return {};
    const QString result = QString::fromLatin1(hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return result;
}

// The window's parent (0 at the top or when it is gone), and its children into `children`.
Window queryTree(Display* d, Window w, std::vector<Window>* children = nullptr)
{
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, w, &root, &parent, &list, &count))
        return 0;
    if (children && list)
        children->assign(list, list + count);
    if (list)
        XFree(list);
    return parent == root ? 0 : parent;
}

void walk(Display* d, Window w, const std::function<void(Window)>& visit)
{
    visit(w);
    std::vector<Window> children;
    queryTree(d, w, &children);
    for (const Window child : children)
        walk(d, child, visit);
}
} // namespace

XWindows::XWindows(const QString& display)
    : m_display(XOpenDisplay(display.toLocal8Bit().constData()))
{
    // Windows come and go while the tree is walked; a vanished one is simply skipped.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

XWindows::~XWindows()
{
    if (m_display)
        XCloseDisplay(dpy(m_display));
}

std::vector<Window> XWindows::find(const QString& text, bool byClass) const
{
    std::vector<Window> found;
    walk(dpy(m_display), DefaultRootWindow(dpy(m_display)), [&](Window w) {
        XWindowAttributes attributes {};
        if (!XGetWindowAttributes(dpy(m_display), w, &attributes) || attributes.map_state != IsViewable)
            return;
        if ((byClass ? classOf(dpy(m_display), w) : titleOf(dpy(m_display), w)) == text)
            found.push_back(w);
    });
    return found;
}

bool XWindows::insideClass(Window window, const QString& wmClass) const
{
    for (Window up = queryTree(dpy(m_display), window); up; up = queryTree(dpy(m_display), up)) {
        if (classOf(dpy(m_display), up) == wmClass)
            return true;
    }
    return false;
}

QRect XWindows::geometry(Window window) const
{
    XWindowAttributes a {};
    XGetWindowAttributes(dpy(m_display), window, &a);
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(dpy(m_display), window, DefaultRootWindow(dpy(m_display)), 0, 0, &x, &y, &child);
    return { x, y, a.width, a.height };
}

QStringList XWindows::atoms(Window window, const char* property) const
{
    Display* d = dpy(m_display);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    QStringList names;
    if (XGetWindowProperty(d, window, XInternAtom(d, property, False), 0, 1024, False, XA_ATOM, &type, &format, &count,
            &remaining, &data)
            == Success
        && data && format == 32) {
        const auto* list = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(d, list[i]);
            names << QString::fromLatin1(name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return names;
}

void XWindows::requestState(Window window, const char* state, bool add) const
{
    Display* d = dpy(m_display);
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = add ? 1 : 0;
    event.xclient.data.l[1] = long(XInternAtom(d, state, False));
    event.xclient.data.l[3] = 2; // from a pager
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(d);
}

bool XWindows::selectionOwned(const char* selection) const
{
    return XGetSelectionOwner(dpy(m_display), XInternAtom(dpy(m_display), selection, False)) != 0;
}

Window XWindows::map(QRect at, const char* type, bool ofThisProcess) const
{
    Display* d = dpy(m_display);
    XSetWindowAttributes attributes { .override_redirect = QByteArray(type).endsWith("_COMBO") };
    const Window w = XCreateWindow(d, DefaultRootWindow(d), at.x(), at.y(), at.width(), at.height(), 0, CopyFromParent,
        InputOutput, nullptr, CWOverrideRedirect, &attributes);
    const Atom typeAtom = XInternAtom(d, type, False);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&typeAtom), 1);
    const unsigned long pid = ::getpid();
    if (ofThisProcess)
        XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&pid), 1);
    XSizeHints hints { .flags = USPosition | USSize };
    XSetWMNormalHints(d, w, &hints);
    for (int attempt = 0; attempt < 10; ++attempt) { // a window manager just started may drop a request
        XMapWindow(d, w);
        XSync(d, False);
        XWindowAttributes a {};
        if (probe::waitUntil([&] { return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable; }, 500))
            return w;
    }
    return 0;
}

std::vector<std::array<unsigned long, 3>> XWindows::activationRequests() const
{
    Display* d = dpy(m_display);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    std::vector<std::array<unsigned long, 3>> requests;
    for (XEvent e; XSync(d, False), XPending(d) > 0;) {
        XNextEvent(d, &e);
        if (e.type == ClientMessage && e.xclient.message_type == XInternAtom(d, "_NET_ACTIVE_WINDOW", False))
            requests.push_back({ e.xclient.window, static_cast<unsigned long>(e.xclient.data.l[0]),
                static_cast<unsigned long>(e.xclient.data.l[1]) });
    }
    return requests;
}

AppProcess::AppProcess(const TestDesktop& desktop, QStringList args, QStringList environment)
{
    QProcessEnvironment env = desktop.environment();
    // The tests themselves run offscreen; the program runs on the private X server.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start(QStringLiteral(TREMLOR_EXECUTABLE), args);
    m_process.waitForStarted(5000);
}

AppProcess::~AppProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString AppProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return QString::fromUtf8(m_stderr);
}

int AppProcess::waitForExit(int timeoutMs)
{
    if (!probe::waitUntil([&] { return m_process.state() == QProcess::NotRunning; }, timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void writeSettings(const std::function<void(tremlor::TremlorSettings&)>& edit)
{
    tremlor::UserDefaults defaults(tremlor::UserDefaults::defaultFolder());
    tremlor::TremlorSettings settings(defaults);
    settings.setHasCompletedOnboarding(true);
    if (edit)
        edit(settings);
    defaults.synchronize();
}

QVariant itemProperty(probe::Bus& bus, const QString& service, const QString& name)
{
    const QDBusMessage reply = bus.call(service, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
        { QStringLiteral("org.kde.StatusNotifierItem"), name });
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace apptest
