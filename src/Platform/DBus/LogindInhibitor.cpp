#include "Platform/DBus/LogindInhibitor.h"

#include "Platform/DBus/BusLink.h"

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

namespace tremlor {

LogindInhibitor::LogindInhibitor(std::shared_ptr<BusLink> systemBus)
    : BusPowerAssertion(systemBus ? std::move(systemBus) : BusLink::system(), serviceName)
{
}

LogindInhibitor::~LogindInhibitor()
{
    setChangeHandler(nullptr);
    release();
}

bool LogindInhibitor::acquire(const QString& reason)
{
    if (m_fd >= 0)
        return true;
    if (!busLink().isConnected())
        return false;
    QDBusConnection bus = busLink().connection();
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
    if (m_fd < 0)
        return;
    dropLock();
    report(Change::lost);
}

} // namespace tremlor
