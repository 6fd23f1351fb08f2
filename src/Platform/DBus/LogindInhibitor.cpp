#include "Platform/DBus/LogindInhibitor.h"

#include "Platform/DBus/BusLink.h"

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

namespace tremlor {

LogindInhibitor::LogindInhibitor(std::shared_ptr<BusLink> systemBus)
    : m_bus(systemBus ? std::move(systemBus) : BusLink::system())
{
    connect(m_bus.get(), &BusLink::disconnected, this, &LogindInhibitor::onBusLost);
    connect(m_bus.get(), &BusLink::connected, this, [this] {
        watch();
        report(Change::available);
    });
    watch();
}

LogindInhibitor::~LogindInhibitor()
{
    m_onChange = nullptr;
    release();
}

void LogindInhibitor::watch()
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

bool LogindInhibitor::acquire(const QString& reason)
{
    if (m_fd >= 0)
        return true;
    if (!m_bus->isConnected())
        return false;
    QDBusConnection bus = m_bus->connection();
    if (!(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing))
        return false;
    QDBusMessage call
        = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << QStringLiteral("Tremlor") << reason << QStringLiteral("block");
    const QDBusMessage reply = bus.call(call, QDBus::Block, BusLink::callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    const auto descriptor = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
    if (!descriptor.isValid())
        return false;
    // Our own copy; the message's copies close with it, so ours is the lock's last one.
    const int fd = ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_owner = reply.service();
    return true;
}

void LogindInhibitor::release()
{
    dropLock();
}

void LogindInhibitor::dropLock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    m_owner.clear();
}

void LogindInhibitor::onOwnerChanged(const QString& oldOwner, const QString& newOwner)
{
    if (m_fd >= 0 && !oldOwner.isEmpty() && (m_owner.isEmpty() || oldOwner == m_owner)) {
        dropLock(); // a new logind knows nothing of the old lock
        report(Change::lost);
    }
    if (!newOwner.isEmpty())
        report(Change::available);
}

void LogindInhibitor::onBusLost()
{
    m_watcher.reset();
    if (m_fd < 0)
        return;
    dropLock();
    report(Change::lost);
}

void LogindInhibitor::report(Change change)
{
    if (m_onChange)
        m_onChange(change);
}

} // namespace tremlor
