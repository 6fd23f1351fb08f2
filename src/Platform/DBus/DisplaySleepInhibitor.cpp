#include "Platform/DBus/DisplaySleepInhibitor.h"

#include "Platform/DBus/BusLink.h"
#include "Platform/X11/XScreenSaverSuspender.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace tremlor {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kApplication = QStringLiteral("Tremlor");

} // namespace

DisplaySleepInhibitor::DisplaySleepInhibitor(std::shared_ptr<BusLink> sessionBus, QByteArray displayName)
    : m_bus(sessionBus ? std::move(sessionBus) : BusLink::session())
    , m_x11(std::make_unique<XScreenSaverSuspender>(std::move(displayName)))
{
    connect(m_bus.get(), &BusLink::disconnected, this, &DisplaySleepInhibitor::onBusLost);
    connect(m_bus.get(), &BusLink::connected, this, [this] {
        watch();
        report(Change::available);
    });
    watch();
}

DisplaySleepInhibitor::~DisplaySleepInhibitor()
{
    m_onChange = nullptr;
    release();
}

void DisplaySleepInhibitor::watch()
{
    m_watcher.reset();
    if (!m_bus->isConnected())
        return;
    m_watcher = std::make_unique<QDBusServiceWatcher>(
        QString::fromLatin1(serviceName), m_bus->connection(), QDBusServiceWatcher::WatchForOwnerChange);
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](
            const QString&, const QString& oldOwner, const QString& newOwner) { onOwnerChanged(oldOwner, newOwner); });
}

bool DisplaySleepInhibitor::acquire(const QString& reason)
{
    if (m_mode != Mode::none)
        return true;
    if (inhibitThroughService(reason)) {
        m_mode = Mode::service;
        return true;
    }
    if (m_x11->suspend()) {
        m_mode = Mode::x11;
        return true;
    }
    return false;
}

bool DisplaySleepInhibitor::inhibitThroughService(const QString& reason)
{
    if (!m_bus->isConnected())
        return false;
    QDBusConnection bus = m_bus->connection();
    // Asking the bus first answers at once when no screensaver runs.
    const QDBusMessage ownerCall = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("GetNameOwner"));
    const QDBusMessage owner
        = bus.call(QDBusMessage(ownerCall) << QString::fromLatin1(serviceName), QDBus::Block, BusLink::callTimeoutMs);
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().isEmpty())
        return false;
    const QString ownerName = owner.arguments().constFirst().toString();
    // Newer desktops serve /org/freedesktop/ScreenSaver, older KDE only /ScreenSaver.
    for (const QString& path : { QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver") }) {
        QDBusMessage call = QDBusMessage::createMethodCall(ownerName, path, kInterface, QStringLiteral("Inhibit"));
        call << kApplication << reason;
        const QDBusMessage reply = bus.call(call, QDBus::Block, BusLink::callTimeoutMs);
        // A service that does not answer in time is not asked a second time.
        if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply")
            || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
            return false;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            continue;
        bool ok = false;
        const uint cookie = reply.arguments().constFirst().toUInt(&ok);
        if (!ok)
            continue;
        m_cookie = cookie;
        m_path = path;
        m_owner = ownerName;
        return true;
    }
    return false;
}

void DisplaySleepInhibitor::release()
{
    switch (m_mode) {
    case Mode::none:
        return;
    case Mode::service:
        if (m_bus->isConnected()) {
            QDBusMessage call
                = QDBusMessage::createMethodCall(m_owner, m_path, kInterface, QStringLiteral("UnInhibit"));
            call << m_cookie;
            // Nothing to wait for: the answer carries nothing.
            m_bus->connection().asyncCall(call, BusLink::callTimeoutMs);
        }
        break;
    case Mode::x11:
        m_x11->resume();
        break;
    }
    m_mode = Mode::none;
    m_cookie = 0;
    m_owner.clear();
}

void DisplaySleepInhibitor::onOwnerChanged(const QString& oldOwner, const QString& newOwner)
{
    if (m_mode == Mode::service && oldOwner == m_owner) {
        // The service that held our cookie is gone (or restarted): the inhibit went with it.
        m_mode = Mode::none;
        m_cookie = 0;
        m_owner.clear();
        report(Change::lost);
    }
    if (!newOwner.isEmpty())
        report(Change::available);
}

void DisplaySleepInhibitor::onBusLost()
{
    m_watcher.reset();
    if (m_mode != Mode::service)
        return;
    m_mode = Mode::none;
    m_cookie = 0;
    m_owner.clear();
    report(Change::lost);
}

void DisplaySleepInhibitor::report(Change change)
{
    if (m_onChange)
        m_onChange(change);
}

} // namespace tremlor
