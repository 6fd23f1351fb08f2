#include "Platform/DBus/BusLink.h"

#include <QAtomicInteger>

namespace tremlor {

namespace {

QString nextName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("tremlor-bus-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

std::shared_ptr<BusLink> BusLink::session()
{
    static const std::shared_ptr<BusLink> link(new BusLink(Kind::session, {}));
    return link;
}

std::shared_ptr<BusLink> BusLink::system()
{
    static const std::shared_ptr<BusLink> link(new BusLink(Kind::system, {}));
    return link;
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
        // libdbus reports the loss of the bus as this local signal.
        m_connection.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                             QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                             SLOT(onDisconnected()));
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
    open();
    if (m_connection.isConnected()) {
        m_retry.stop();
        Q_EMIT connected();
    }
}

} // namespace tremlor
