#include "Platform/DBus/BusLink.h"

#include <QAtomicInteger>

#include <mutex>

namespace tremlor {

namespace {

QString nextName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("tremlor-bus-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

// Shared while anyone uses it, and gone with its last user: never outlives the application
// object (Qt D-Bus cannot be torn down after it).
std::shared_ptr<BusLink> BusLink::shared(Kind kind)
{
    static std::mutex mutex;
    static std::weak_ptr<BusLink> links[2];
    const std::lock_guard lock(mutex);
    std::weak_ptr<BusLink>& slot = links[kind == Kind::session ? 0 : 1];
    std::shared_ptr<BusLink> link = slot.lock();
    if (!link) {
        link.reset(new BusLink(kind, {}));
        slot = link;
    }
    return link;
}

std::shared_ptr<BusLink> BusLink::session()
{
    return shared(Kind::session);
}

std::shared_ptr<BusLink> BusLink::system()
{
    return shared(Kind::system);
}

std::shared_ptr<BusLink> BusLink::toAddress(const QString& address)
{
    return std::shared_ptr<BusLink>(new BusLink(Kind::address, address));
}

BusLink::BusLink(Kind kind, QString address)
    : m_kind(kind)
    , m_address(std::move(address))
    , m_connection(QStringLiteral("unconnected"))
{
    m_retry.setInterval(5000);
    connect(&m_retry, &QTimer::timeout, this, &BusLink::tryAgain);
    open();
}

BusLink::~BusLink()
{
    if (!m_name.isEmpty())
        QDBusConnection::disconnectFromBus(m_name);
}

void BusLink::open()
{
    if (!m_name.isEmpty())
        QDBusConnection::disconnectFromBus(m_name);
    m_name = nextName();
    switch (m_kind) {
    case Kind::session:
        m_connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_name);
        break;
    case Kind::system:
        m_connection = QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_name);
        break;
    case Kind::address:
        m_connection = QDBusConnection::connectToBus(m_address, m_name);
        break;
    }
    if (m_connection.isConnected()) {
        // libdbus reports the loss of the bus as this local signal. QDBusConnection::connect
        // takes a slot name only.
        m_connection.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
            QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this, SLOT(onDisconnected()));
    } else {
        m_retry.start();
    }
}

void BusLink::onDisconnected()
{
    if (m_retry.isActive())
        return;
    m_retry.start();
    Q_EMIT disconnected();
}

void BusLink::tryAgain()
{
    // Without an address libdbus would start a new session bus (autolaunch) on every try.
    if (m_kind == Kind::session && qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        m_retry.stop();
        return;
    }
    open();
    if (m_connection.isConnected()) {
        m_retry.stop();
        Q_EMIT connected();
    }
}

} // namespace tremlor
