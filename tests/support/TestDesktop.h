#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// A private desktop for one test process: an Xvfb server, openbox as the window manager and
// two private D-Bus daemons standing in for the session and the system bus. Nothing of the
// developer's own desktop is touched. Everything is stopped when the object goes away.
class TestDesktop final {
public:
    struct Options {
        bool xServer = true, windowManager = true, sessionBus = true, systemBus = true;
        QString screen = QStringLiteral("1920x1080x24");
        // Points DISPLAY, DBUS_SESSION_BUS_ADDRESS and DBUS_SYSTEM_BUS_ADDRESS of this
        // process at the private desktop (and HOME/XDG dirs at a temporary folder).
        bool exportEnvironment = true;
        // Appended to the X server's arguments (e.g. "-extension XTEST" to leave one out). The
        // initialiser lets callers list only the leading fields without a warning.
        QStringList serverArguments {};

        // Only the X server: no window manager, no buses.
        static Options xServerOnly() { return { .windowManager = false, .sessionBus = false, .systemBus = false }; }
    };

    enum class Bus { session, system };

    explicit TestDesktop(const Options& options);
    TestDesktop();
    ~TestDesktop();
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    // Empty when everything started; otherwise what failed.
    QString error() const { return m_error; }
    bool ok() const { return m_error.isEmpty(); }

    QString display() const { return m_display; }
    QString sessionBusAddress() const { return m_sessionBus; }
    QString systemBusAddress() const { return m_systemBus; }
    // A temporary folder used as HOME, with XDG config, data and cache dirs below it.
    QString home() const { return m_home.path(); }
    QProcessEnvironment environment() const;

    // Starts `python3 -m dbusmock` with args on a bus and waits until `name` is owned there.
    // Returns nullptr (and sets error()) on failure. The process is stopped with the desktop.
    QProcess* startDbusMock(Bus bus, const QString& name, const QStringList& args);
    // Starts a program on the private desktop (DISPLAY and buses set); the desktop owns it.
    QProcess* startProcess(const QString& program, const QStringList& args);
    // Waits until a top-level window whose WM_CLASS contains `wmClass` is managed.
    bool waitForWindow(const QString& wmClass, int timeoutMs = 5000) const;

    // A display name where no X server runs (for "no display" cases), checked the way an X
    // server looks for a free number: no lock file, no socket, and nothing answers.
    static QString absentDisplay();

    // Kills the X server at once (for "server goes away" tests).
    void killXServer();
    // Stops one process early (for "service goes away" tests).
    static void stop(QProcess* process);

private:
    bool startXServer(const QString& screen, const QStringList& extra);
    bool startWindowManager();
    // Starts a server that prints where it listens on standard output; returns that line.
    QString startReporting(const QString& program, const QStringList& args, QProcess** server = nullptr);
    QProcess* spawn(const QString& program, const QStringList& args);

    QString m_error, m_display, m_sessionBus, m_systemBus;
    QProcess* m_xServer = nullptr;
    QTemporaryDir m_home;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QProcessEnvironment m_savedEnvironment;
    bool m_exported = false;
};

// Skips the current test when the private desktop could not start (tools missing).
#define REQUIRE_DESKTOP(desktop)                                                                                       \
    ASSERT_TRUE((desktop).ok()) << "private desktop did not start: " << (desktop).error().toStdString()
