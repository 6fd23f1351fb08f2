#include "Platform/X11/RunningApps.h"

#include "Platform/X11/WindowProperties.h"
#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/ClaimedWindowClasses.h"
#include "Platform/Xdg/ExecCommand.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/socket.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tremlor::x11 {

namespace {

// What process pid runs: its executable and the program its command line started (scripts run
// under an interpreter), both as canonical paths where they are paths.
void readProcess(unsigned long pid, RunningApps::ClientWindow& client)
{
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    client.executable = QFileInfo(proc + QStringLiteral("/exe")).canonicalFilePath();
    QFile cmdline(proc + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return;
    const QString argv0 = QString::fromLocal8Bit(cmdline.read(4096).split('\0').value(0));
    client.startedProgram = argv0.contains(u'/') ? QFileInfo(argv0).canonicalFilePath() : argv0;
}

// Xlib reports protocol errors through one process-wide handler, whose default ends the program.
// A window that vanishes between listing and reading gives BadWindow on our connections: those
// are ignored; errors on anyone else's connection go to the handler that was there before.
constexpr int maxDisplays = 16;
std::atomic<Display*> ourDisplays[maxDisplays];
XErrorHandler previousHandler = nullptr;

int ignoreOurErrors(Display* d, XErrorEvent* event)
{
    for (const auto& slot : ourDisplays) {
        if (slot.load() == d)
            return 0;
    }
    return previousHandler ? previousHandler(d, event) : 0;
}

void track(Display* d)
{
    for (auto& slot : ourDisplays) {
        Display* expected = nullptr;
        if (slot.compare_exchange_strong(expected, d))
            return;
    }
}

bool untrack(Display* d)
{
    for (auto& slot : ourDisplays) {
        Display* expected = d;
        if (slot.compare_exchange_strong(expected, nullptr))
            return true;
    }
    return false;
}

// Connections whose server went away: closing them would raise a fatal I/O error.
std::atomic<Display*> abandonedDisplays[maxDisplays];

void abandon(Display* d)
{
    for (auto& slot : abandonedDisplays) {
        Display* expected = nullptr;
        if (slot.compare_exchange_strong(expected, d))
            return;
    }
}

bool wasAbandoned(Display* d)
{
    for (auto& slot : abandonedDisplays) {
        Display* expected = d;
        if (slot.compare_exchange_strong(expected, nullptr))
            return true;
    }
    return false;
}

// False once the server has closed the connection (end of file on its socket).
bool connectionAlive(Display* d)
{
    pollfd fd { ConnectionNumber(d), POLLIN, 0 };
    if (::poll(&fd, 1, 0) <= 0)
        return true;
    if (fd.revents & (POLLHUP | POLLERR | POLLNVAL))
        return false;
    char byte = 0;
    return ::recv(fd.fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) != 0;
}

} // namespace

RunningApps::RunningApps(DisplayHandle display)
    : m_display(std::move(display))
{
}

DisplayHandle RunningApps::openDisplay(const QString& displayName)
{
    static std::once_flag handlerOnce;
    std::call_once(handlerOnce, [] { previousHandler = XSetErrorHandler(ignoreOurErrors); });
    const QByteArray name = displayName.toLocal8Bit();
    Display* d = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!d)
        return {};
    track(d);
    return DisplayHandle(d, [](Display* display) {
        if (!wasAbandoned(display))
            XCloseDisplay(display);
        untrack(display);
    });
}

std::vector<RunningApps::ClientWindow> RunningApps::clients() const
{
    std::vector<ClientWindow> out;
    Display* d = m_display.get();
    if (!d)
        return out;
    const Atom clientList = XInternAtom(d, "_NET_CLIENT_LIST", False);
    const Atom wmPid = XInternAtom(d, "_NET_WM_PID", False);
    for (const unsigned long window : cardinals(d, DefaultRootWindow(d), clientList, XA_WINDOW, 1 << 16)) {
        ClientWindow client;
        client.window = window;
        XClassHint hint {};
        if (XGetClassHint(d, window, &hint)) {
            client.instance = QString::fromLocal8Bit(hint.res_name);
            client.windowClass = QString::fromLocal8Bit(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        if (isLocalClient(d, window)) {
            const auto pid = cardinals(d, window, wmPid, XA_CARDINAL, 1);
            if (!pid.empty() && pid.front() > 0)
                readProcess(pid.front(), client);
        }
        out.push_back(std::move(client));
    }
    return out;
}

std::vector<unsigned long> RunningApps::matching(
    const std::vector<ClientWindow>& clients, const xdg::DesktopEntry& entry, const QSet<QString>& claimedClasses)
{
    // Programs and their entries disagree on the case of a class name.
    const auto sameName = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; };
    const QString& wmClass = entry.startupWMClass;
    std::vector<unsigned long> matches;
    if (!wmClass.isEmpty()) {
        for (const ClientWindow& client : clients) {
            if (sameName(client.instance, wmClass) || sameName(client.windowClass, wmClass))
                matches.push_back(client.window);
        }
        if (!matches.empty())
            return matches;
    }

    QSet<QString> claimed;
    for (const QString& name : claimedClasses)
        claimed.insert(name.toLower());
    QString program;
    if (const auto command = xdg::ExecCommand::parse(entry.exec))
        program = QFileInfo(command->resolvedProgram()).canonicalFilePath();
    const QString& id = entry.id;
    for (const ClientWindow& client : clients) {
        if (claimed.contains(client.instance.toLower()) || claimed.contains(client.windowClass.toLower()))
            continue;
        bool match = !id.isEmpty()
            && (client.instance == id || client.windowClass == id || client.instance.toLower() == id
                || client.windowClass.toLower() == id);
        if (!match && !program.isEmpty())
            match = client.executable == program || client.startedProgram == program;
        if (match)
            matches.push_back(client.window);
    }
    return matches;
}

std::vector<unsigned long> RunningApps::windowsOf(const xdg::DesktopEntry& entry, const QStringList& folders) const
{
    return matching(clients(), entry, xdg::ClaimedWindowClasses::in(folders));
}

bool RunningApps::isRunningOnDefaultDisplay(const xdg::DesktopEntry& entry)
{
    static std::mutex lock;
    // Never closed at exit: the server may be gone by then, and closing would be a fatal I/O error.
    static auto* display = new DisplayHandle;
    static QByteArray openedFor;
    static auto* snapshot = new std::vector<ClientWindow>;
    static auto* claims = new QSet<QString>;
    static std::optional<std::chrono::steady_clock::time_point> snapshotTime;
    std::lock_guard guard(lock);
    // Follow $DISPLAY if it changes, and reconnect when the server went away.
    const QByteArray current = qgetenv("DISPLAY");
    if (*display && !connectionAlive(display->get())) {
        abandon(display->get());
        display->reset();
    }
    if (!*display || current != openedFor) {
        *display = openDisplay();
        openedFor = current;
        snapshotTime.reset();
    }
    if (!*display)
        return false;
    // Views ask row by row while drawing: one look at the window list and the installed
    // entries serves a whole redraw.
    const auto now = std::chrono::steady_clock::now();
    if (!snapshotTime || now - *snapshotTime > std::chrono::milliseconds(250)) {
        *snapshot = RunningApps(*display).clients();
        *claims = xdg::ClaimedWindowClasses::in(xdg::ApplicationFolders::standard());
        snapshotTime = now;
    }
    return !matching(*snapshot, entry, *claims).empty();
}

} // namespace tremlor::x11
