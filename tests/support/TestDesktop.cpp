#include "TestDesktop.h"

#include "WaitUntil.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QUuid>

#include <csignal>
#include <sys/prctl.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Reads one line a process prints on standard output, within the deadline.
QString readLine(QProcess& process, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QByteArray buffer;
    while (!deadline.hasExpired()) {
        if (process.canReadLine() || process.waitForReadyRead(50)) {
            buffer += process.readLine();
            if (buffer.endsWith('\n'))
                return QString::fromUtf8(buffer).trimmed();
        }
        if (process.state() == QProcess::NotRunning)
            break;
    }
    return {};
}

Display* openDisplay(const QString& name)
{
    return XOpenDisplay(name.toLocal8Bit().constData());
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
    if (options.sessionBus && (m_sessionBus = startBus()).isEmpty())
        return;
    if (options.systemBus && (m_systemBus = startBus()).isEmpty())
        return;

    if (options.exportEnvironment) {
        m_savedEnvironment = QProcessEnvironment::systemEnvironment();
        m_exported = true;
        const QProcessEnvironment env = environment();
        for (const char* key : { "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "HOME",
                 "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR" }) {
            if (env.contains(key))
                qputenv(key, env.value(key).toLocal8Bit());
            else
                qunsetenv(key);
        }
    }
}

TestDesktop::~TestDesktop()
{
    // Last started first: clients before their servers.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it)
        stop(it->get());
    if (m_exported) {
        for (const char* key : { "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "HOME",
                 "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR" }) {
            if (m_savedEnvironment.contains(key))
                qputenv(key, m_savedEnvironment.value(key).toLocal8Bit());
            else
                qunsetenv(key);
        }
    }
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
    if (!m_display.isEmpty())
        env.insert("DISPLAY", m_display);
    else
        env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    if (!m_sessionBus.isEmpty())
        env.insert("DBUS_SESSION_BUS_ADDRESS", m_sessionBus);
    else
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/session");
    if (!m_systemBus.isEmpty())
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus);
    else
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system");
    return env;
}

QProcess* TestDesktop::spawn(const QString& program, const QStringList& args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setProcessChannelMode(QProcess::SeparateChannels);
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
        const QString name = QStringLiteral(":%1").arg(number);
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (Display* d = openDisplay(name)) {
            XCloseDisplay(d);
            continue;
        }
        return name;
    }
    return QStringLiteral(":1899");
}

bool TestDesktop::startXServer(const QString& screen, const QStringList& extra)
{
    // Xvfb picks a free display itself and prints its number on the given descriptor.
    QProcess* x = spawn("Xvfb",
        QStringList { "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset", "+extension", "XTEST",
            "+extension", "XInputExtension", "+extension", "RANDR" }
            + extra);
    m_xServer = x;
    if (!x)
        return false;
    const QString number = readLine(*x, 10000);
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb did not report a display");
        return false;
    }
    m_display = ":" + number;
    const bool accepting = waitUntil([&] {
        Display* d = openDisplay(m_display);
        if (d)
            XCloseDisplay(d);
        return d != nullptr;
    });
    if (!accepting)
        m_error = QStringLiteral("Xvfb did not accept connections");
    return accepting;
}

bool TestDesktop::startWindowManager()
{
    if (!startProcess("openbox", { "--sm-disable" }))
        return false;
    Display* d = openDisplay(m_display);
    if (!d) {
        m_error = "cannot open the display";
        return false;
    }
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const bool ready = waitUntil(
        [&] {
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            const bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type,
                                   &format, &count, &after, &data)
                    == Success
                && count == 1;
            if (data)
                XFree(data);
            return found;
        },
        10000);
    XCloseDisplay(d);
    if (!ready)
        m_error = "openbox did not come up";
    return ready;
}

QString TestDesktop::startBus()
{
    QProcess* bus = spawn("dbus-daemon", { "--session", "--nofork", "--print-address=1" });
    if (!bus)
        return {};
    const QString address = readLine(*bus, 10000);
    if (address.isEmpty())
        m_error = "dbus-daemon did not report an address";
    return address;
}

QProcess* TestDesktop::startDbusMock(Bus bus, const QString& name, const QStringList& args)
{
    const QString address = bus == Bus::session ? m_sessionBus : m_systemBus;
    if (address.isEmpty()) {
        m_error = "no such bus";
        return nullptr;
    }
    QStringList full { "-m", "dbusmock" };
    if (bus == Bus::system)
        full << "--system";
    full << args;
    QProcess* mock = startProcess("/usr/bin/python3", full);
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
    if (!owned) {
        m_error = QStringLiteral("dbusmock did not take %1").arg(name);
        return nullptr;
    }
    return mock;
}

bool TestDesktop::waitForWindow(const QString& wmClass, int timeoutMs) const
{
    Display* d = openDisplay(m_display);
    if (!d)
        return false;
    const Atom clientList = XInternAtom(d, "_NET_CLIENT_LIST", False);
    bool found = false;
    QDeadlineTimer deadline(timeoutMs);
    while (!found && !deadline.hasExpired()) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(
                d, DefaultRootWindow(d), clientList, 0, 1024, False, XA_WINDOW, &type, &format, &count, &after, &data)
                == Success
            && data) {
            const auto* windows = reinterpret_cast<const Window*>(data);
            for (unsigned long i = 0; i < count && !found; ++i) {
                XClassHint hint {};
                if (XGetClassHint(d, windows[i], &hint)) {
                    found = QString::fromLatin1(hint.res_name).contains(wmClass)
                        || QString::fromLatin1(hint.res_class).contains(wmClass);
                    XFree(hint.res_name);
                    XFree(hint.res_class);
                }
            }
        }
        if (data)
            XFree(data);
        if (!found)
            QThread::msleep(30);
    }
    XCloseDisplay(d);
    return found;
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
