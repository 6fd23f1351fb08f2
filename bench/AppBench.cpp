// The whole program on a private desktop (Xvfb, openbox, a StatusNotifierWatcher of the bench's
// own): resident memory idle and after the panel and the settings window opened and closed
// once, wake-ups while idle, and the time from Activate to the panel being mapped. Prints its
// figures; nothing is asserted.

#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"
#include "PreciseWait.h"
#include "support/TestDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class Watcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
public:
    QString item;
public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { item = service; }
};

void idle(int ms)
{
    waitUntil([] { return false; }, ms);
}

long statusField(const QString& file, const char* field)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

double rssMiB(qint64 pid)
{
    return statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:") / 1024.0;
}

// Context switches of every thread of the process.
long contextSwitches(qint64 pid)
{
    long total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = tasks.filePath(task + QStringLiteral("/status"));
        total += statusField(file, "voluntary_ctxt_switches:") + statusField(file, "nonvoluntary_ctxt_switches:");
    }
    return total;
}

// Waits for a map (or unmap) among the root's children: the panel's frame is the only window
// that comes and goes.
bool waitForMapEvent(Display* d, int type, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == type)
                return true;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 0);
        QThread::usleep(100);
    }
    return false;
}

Window findTitled(Display* d, const char* title)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    std::function<void(Window)> walk = [&](Window w) {
        char* name = nullptr;
        if (!found && XFetchName(d, w, &name) && name) {
            if (qstrcmp(name, title) == 0)
                found = w;
            XFree(name);
        }
        Window* kids = nullptr;
        unsigned int n = 0;
        if (XQueryTree(d, w, &root, &parent, &kids, &n)) {
            for (unsigned int i = 0; i < n && !found; ++i)
                walk(kids[i]);
            if (kids)
                XFree(kids);
        }
    };
    walk(DefaultRootWindow(d));
    Q_UNUSED(children);
    Q_UNUSED(count);
    return found;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TestDesktop desktop;
    if (!desktop.ok()) {
        std::printf("bench_app: private desktop did not start: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    {
        tremlor::UserDefaults defaults(tremlor::UserDefaults::defaultFolder());
        tremlor::TremlorSettings settings(defaults);
        settings.setHasCompletedOnboarding(true);
        defaults.synchronize();
    }
    QDBusConnection bus = QDBusConnection::connectToBus(desktop.sessionBusAddress(), QStringLiteral("bench"));
    Watcher watcher;
    bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher, QDBusConnection::ExportAllSlots);
    bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));

    QProcess program;
    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(env);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(QStringLiteral(TREMLOR_EXECUTABLE), {});
    if (!program.waitForStarted(5000) || !waitUntil([&] { return !watcher.item.isEmpty(); }, 10000)) {
        std::printf("bench_app: the program did not register its tray item\n");
        return 1;
    }
    const qint64 pid = program.processId();
    idle(2000);
    const double idleRss = rssMiB(pid);

    const int windowSeconds = 20;
    const long before = contextSwitches(pid);
    idle(windowSeconds * 1000);
    const long wakeups = contextSwitches(pid) - before;

    Display* d = XOpenDisplay(qPrintable(desktop.display()));
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    auto activate = [&] {
        auto message = QDBusMessage::createMethodCall(watcher.item, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
        message << 1200 << 10;
        bus.asyncCall(message);
    };
    std::vector<double> latencies;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer clock;
        clock.start();
        activate();
        if (!waitForMapEvent(d, MapNotify, 3000))
            break;
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
        activate();
        waitForMapEvent(d, UnmapNotify, 3000);
        idle(50);
    }
    idle(1000);
    const double panelRss = rssMiB(pid);

    bus.asyncCall(QDBusMessage::createMethodCall(QStringLiteral("com.tremlor.app"), QStringLiteral("/com/tremlor/app"),
        QStringLiteral("com.tremlor.app"), QStringLiteral("OpenSettings")));
    Window settings = 0;
    waitUntil([&] { return (settings = findTitled(d, "Tremlor Settings")) != 0; }, 5000);
    idle(500);
    if (settings) {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = settings;
        event.xclient.message_type = XInternAtom(d, "_NET_CLOSE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[1] = 1;
        XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(d);
    }
    idle(1500);
    const double afterRss = rssMiB(pid);
    XCloseDisplay(d);

    std::printf("bench_app: idle resident memory, tray item registered, panel never opened: %.1f MiB\n", idleRss);
    std::printf("bench_app: resident memory after the panel (30 times) and the settings window%s opened and "
                "closed: %.1f MiB\n",
        settings ? "" : " (not found)", afterRss);
    std::printf("bench_app: resident memory after the panel alone: %.1f MiB\n", panelRss);
    std::printf("bench_app: idle wake-ups (context switches, all threads) over %d s: %ld (%.1f per minute)\n",
        windowSeconds, wakeups, wakeups * 60.0 / windowSeconds);
    if (latencies.empty()) {
        std::printf("bench_app: Activate to panel mapped: the panel did not map\n");
    } else {
        std::printf("bench_app: Activate to panel mapped over %zu opens: median %.1f ms, p95 %.1f ms\n",
            latencies.size(), percentile(latencies, 0.5), percentile(latencies, 0.95));
    }
    program.terminate();
    program.waitForFinished(3000);
    return 0;
}

#include "AppBench.moc"
