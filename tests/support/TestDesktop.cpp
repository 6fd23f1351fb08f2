#include "TestDesktop.h"

#include "WaitUntil.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QUuid>

#include <csignal>
#include <sys/prctl.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const QStringList kBusArguments { "--session", "--nofork", "--print-address=1" };
constexpr const char* kExported[] = { "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "HOME",
    "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR" };

// Sets this process's desktop variables to env's (unsetting those env lacks).
void exportVariables(const QProcessEnvironment& env)
{
    for (const char* key : kExported)
        env.contains(key) ? qputenv(key, env.value(key).toLocal8Bit()) : qunsetenv(key);
}

// Reads the first line a server prints on standard output, within the deadline.
QString readLine(QProcess& process, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine() && process.state() != QProcess::NotRunning && !deadline.hasExpired())
        process.waitForReadyRead(50);
    return process.canReadLine() ? QString::fromUtf8(process.readLine()).trimmed() : QString();
}

// A window-list property of the root window; empty when it is not set.
std::vector<Window> rootWindows(Display* d, const char* property, long max)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, property, False), 0, max, False, XA_WINDOW, &type,
        &format, &count, &after, &data);
    std::vector<Window> windows;
    if (data) {
        windows.assign(reinterpret_cast<const Window*>(data), reinterpret_cast<const Window*>(data) + count);
        XFree(data);
    }
    return windows;
}

// Runs test on a connection to the display until it holds or the deadline passes.
bool waitOnDisplay(const QString& name, const std::function<bool(Display*)>& test, int timeoutMs)
{
    Display* d = XOpenDisplay(name.toLocal8Bit().constData());
    const bool held = d && waitUntil([&] { return test(d); }, timeoutMs);
    if (d)
        XCloseDisplay(d);
    return held;
}

} // namespace

TestDesktop::TestDesktop()
    : TestDesktop(Options {})
{
}

TestDesktop::TestDesktop(const Options& options)
{
    const QString home = m_home.path();
    for (const char* dir : { "/.config", "/.local/share/applications", "/.cache", "/runtime" })
        QDir().mkpath(home + QLatin1String(dir));
    QFile::setPermissions(home + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    if (options.xServer && !startXServer(options.screen, options.serverArguments))
        return;
    if (options.xServer && options.windowManager && !startWindowManager())
        return;
    if (options.sessionBus && (m_sessionBus = startReporting("dbus-daemon", kBusArguments)).isEmpty())
        return;
    if (options.systemBus && (m_systemBus = startReporting("dbus-daemon", kBusArguments)).isEmpty())
        return;
    if (options.exportEnvironment) {
        m_savedEnvironment = QProcessEnvironment::systemEnvironment();
        m_exported = true;
        exportVariables(environment());
    }
}

TestDesktop::~TestDesktop()
{
    // Last started first: clients before their servers.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it)
        stop(it->get());
    if (m_exported)
        exportVariables(m_savedEnvironment);
}

QProcessEnvironment TestDesktop::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString home = m_home.path();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/.config");
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    env.insert("XDG_CACHE_HOME", home + "/.cache");
    env.insert("XDG_RUNTIME_DIR", home + "/runtime");
    m_display.isEmpty() ? env.remove("DISPLAY") : env.insert("DISPLAY", m_display);
    env.remove("WAYLAND_DISPLAY");
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_sessionBus.isEmpty() ? "unix:path=/nonexistent/session" : m_sessionBus);
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus.isEmpty() ? "unix:path=/nonexistent/system" : m_systemBus);
    return env;
}

QProcess* TestDesktop::spawn(const QString& program, const QStringList& args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setStandardErrorFile(QProcess::nullDevice());
    // A test that crashes or is killed must not leave its servers running.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(program, args);
    if (!process->waitForStarted(5000)) {
        m_error = QStringLiteral("cannot start %1").arg(program);
        return nullptr;
    }
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

QString TestDesktop::startReporting(const QString& program, const QStringList& args, QProcess** server)
{
    QProcess* process = spawn(program, args);
    const QString line = process ? readLine(*process, 10000) : QString();
    if (process && line.isEmpty())
        m_error = program + " did not report where it listens";
    if (server)
        *server = process;
    return line;
}

QProcess* TestDesktop::startProcess(const QString& program, const QStringList& args)
{
    QProcess* p = spawn(program, args);
    if (p)
        p->setStandardOutputFile(QProcess::nullDevice());
    return p;
}

QString TestDesktop::absentDisplay()
{
    for (int number = 900; number < 1900; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        const QString name = QStringLiteral(":%1").arg(number);
        Display* d = XOpenDisplay(name.toLocal8Bit().constData());
        if (!d)
            return name;
        XCloseDisplay(d);
    }
    return QStringLiteral(":1899");
}

bool TestDesktop::startXServer(const QString& screen, const QStringList& extra)
{
    // Xvfb picks a free display itself and prints its number on the given descriptor.
    const QString number = startReporting("Xvfb",
        QStringList { "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset", "+extension", "XTEST",
            "+extension", "XInputExtension", "+extension", "RANDR" }
            + extra,
        &m_xServer);
    if (number.isEmpty())
        return false;
    m_display = ":" + number;
    const bool accepting = waitUntil([&] {
        Display* d = XOpenDisplay(m_display.toLocal8Bit().constData());
        return d && XCloseDisplay(d) >= 0;
    });
    if (!accepting)
        m_error = QStringLiteral("Xvfb did not accept connections");
    return ok();
}

bool TestDesktop::startWindowManager()
{
    if (!startProcess("openbox", { "--sm-disable" }))
        return false;
    const auto managed = [](Display* d) { return !rootWindows(d, "_NET_SUPPORTING_WM_CHECK", 1).empty(); };
    if (!waitOnDisplay(m_display, managed, 10000))
        m_error = "openbox did not come up";
    return ok();
}

QProcess* TestDesktop::startDbusMock(Bus bus, const QString& name, const QStringList& args)
{
    const QString address = bus == Bus::session ? m_sessionBus : m_systemBus;
    if (address.isEmpty()) {
        m_error = "no such bus";
        return nullptr;
    }
    QProcess* mock = startProcess("/usr/bin/python3",
        QStringList { "-m", "dbusmock" } + (bus == Bus::system ? QStringList { "--system" } : QStringList {}) + args);
    if (!mock)
        return nullptr;
    const QString connectionName = QUuid::createUuid().toString();
    bool owned = false;
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, connectionName);
        waitUntil(
            [&] {
                owned = connection.isConnected() && connection.interface()->isServiceRegistered(name).value();
                return owned || mock->state() != QProcess::Running;
            },
            15000);
    }
    QDBusConnection::disconnectFromBus(connectionName);
    if (!owned)
        m_error = QStringLiteral("dbusmock did not take %1").arg(name);
    return owned ? mock : nullptr;
}

bool TestDesktop::waitForWindow(const QString& wmClass, int timeoutMs) const
{
    const auto shown = [&](Display* d) {
        for (Window window : rootWindows(d, "_NET_CLIENT_LIST", 1024)) {
            XClassHint hint {};
            if (!XGetClassHint(d, window, &hint))
                continue;
            const bool match = QString::fromLatin1(hint.res_name).contains(wmClass)
                || QString::fromLatin1(hint.res_class).contains(wmClass);
            XFree(hint.res_name);
            XFree(hint.res_class);
            if (match)
                return true;
        }
        return false;
    };
    return waitOnDisplay(m_display, shown, timeoutMs);
}

void TestDesktop::killXServer()
{
    if (m_xServer && m_xServer->state() != QProcess::NotRunning) {
        m_xServer->kill();
        m_xServer->waitForFinished(3000);
    }
}

void TestDesktop::stop(QProcess* process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(2000)) {
        process->kill();
        process->waitForFinished(2000);
    }
}
