#include "Platform/DBus/LogindInhibitor.h"

#include "Platform/DBus/BusLink.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
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

void LogindInhibitor::acquire(const QString& reason, Done done)
{
    if (m_fd >= 0) {
        if (done)
            done(true);
        return;
    }
    if (!startRequest(std::move(done)))
        return;
    QDBusConnection bus = busLink().connection();
    if (!busLink().isConnected() || !(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) {
        finish(-1, {});
        return;
    }
    QDBusMessage call
        = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << QStringLiteral("Tremlor") << reason << QStringLiteral("block");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, BusLink::callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, request = requestNumber()](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            // An abandoned request's lock closes with the answer: its descriptor is not kept.
            if (request != requestNumber())
                return;
            const QDBusMessage reply = finished->reply();
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
                finish(-1, {});
                return;
            }
            const auto descriptor = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
            // Our own copy; the message's copies close with it, so ours is the lock's last one.
            const int fd = descriptor.isValid() ? ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
            finish(fd, reply.service());
        });
}

void LogindInhibitor::finish(int fd, const QString& owner)
{
    m_fd = fd;
    m_owner = fd >= 0 ? owner : QString();
    finishRequest(m_fd >= 0);
}

void LogindInhibitor::release()
{
    abandonRequest();
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
