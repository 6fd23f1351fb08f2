#pragma once

// The real `tremlor` program on a private desktop, with a StatusNotifierWatcher of the test's
// own and a look at the X windows it maps.

#include "DBusMockProbe.h"
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"
#include "support/TestDesktop.h"

#include <QDBusConnectionInterface>
#include <QRect>

#include <array>

namespace apptest {

// An X window id (Xlib's Window), kept out of this header so Xlib's macros stay away.
using Window = unsigned long;

// Records the items that register; owns the watcher name while `present`.
class MockWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

public:
    explicit MockWatcher(QDBusConnection bus)
        : m_bus(std::move(bus))
    {
        m_bus.registerObject("/StatusNotifierWatcher", this, QDBusConnection::ExportAllSlots);
    }
    ~MockWatcher() override { m_bus.unregisterObject("/StatusNotifierWatcher"); }

    bool appear() { return m_bus.registerService("org.kde.StatusNotifierWatcher"); }
    bool vanish() { return m_bus.unregisterService("org.kde.StatusNotifierWatcher"); }

    QStringList items;

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { items << service; }
    void RegisterStatusNotifierHost(const QString&) { }

private:
    QDBusConnection m_bus;
};

// Finds mapped windows by title or class anywhere in the tree.
class XWindows {
public:
    explicit XWindows(const QString& display);
    ~XWindows();
    XWindows(const XWindows&) = delete;
    XWindows& operator=(const XWindows&) = delete;

    bool ok() const { return m_display != nullptr; }
    // Viewable windows whose title (or, with byClass, WM_CLASS) equals `text`.
    std::vector<Window> find(const QString& text, bool byClass = false) const;
    // Whether one of the window's ancestors has this WM_CLASS.
    bool insideClass(Window window, const QString& wmClass) const;
    QRect geometry(Window window) const;
    // The names of the atoms in one of the window's ATOM properties (as xprop lists them).
    QStringList atoms(Window window, const char* property) const;
    // Asks the window manager to add or remove a _NET_WM_STATE state of a mapped window, as a
    // pager does; the manager then writes the state it holds.
    void requestState(Window window, const char* state, bool add) const;
    bool selectionOwned(const char* selection) const;
    // Maps a window of this _NET_WM_WINDOW_TYPE where it asks to be; 0 when the manager never shows it.
    // With `ofThisProcess` it carries our _NET_WM_PID. A combo list is override-redirect, as
    // toolkits make it.
    Window map(QRect at, const char* type = "_NET_WM_WINDOW_TYPE_NORMAL", bool ofThisProcess = false) const;
    // The _NET_ACTIVE_WINDOW requests seen since the last call (the first one starts listening):
    // window, source indication and time of each.
    std::vector<std::array<unsigned long, 3>> activationRequests() const;

private:
    void* m_display;
};

// One run of the program; stopped (terminate, then kill) when the object goes.
class AppProcess {
public:
    // `environment`: extra NAME=value entries for the program.
    AppProcess(const TestDesktop& desktop, QStringList args = {}, QStringList environment = {});
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    QProcess& process() { return m_process; }
    QString standardError();
    // Runs the event loop until the program exits; its exit code, or -1 on time-out.
    int waitForExit(int timeoutMs = 10000);

private:
    QProcess m_process;
    QByteArray m_stderr;
};

// Writes the program's settings file before it starts: onboarding done, then `edit`.
void writeSettings(const std::function<void(tremlor::TremlorSettings&)>& edit = {});

// A property of the item at `service`.
QVariant itemProperty(probe::Bus& bus, const QString& service, const QString& name);

} // namespace apptest
