#include "App/SingleInstance.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace tremlor {

namespace {
// org.freedesktop.DBus.RequestName flags and answers.
constexpr uint kDoNotQueue = 0x4;
constexpr uint kPrimaryOwner = 1;
constexpr uint kAlreadyOwner = 4;
} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
}

void SingleInstance::claim(std::function<void(Outcome)> done)
{
    if (!m_bus.isConnected()) {
        done(Outcome::first);
        return;
    }
    m_bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots);
    auto request = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << QLatin1String(serviceName) << kDoNotQueue;
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(request), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, done = std::move(done)]() mutable {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError() || reply.value() == kPrimaryOwner || reply.value() == kAlreadyOwner) {
            done(Outcome::first);
            return;
        }
        m_bus.unregisterObject(QLatin1String(objectPath));
        handOver(std::move(done));
    });
}

void SingleInstance::handOver(std::function<void(Outcome)> done)
{
    const auto message = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
        QLatin1String(serviceName), QStringLiteral("OpenSettings"));
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, 5000), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [call, done = std::move(done)] {
        call->deleteLater();
        // The owner may have quit in between: this one then runs as the first.
        done(call->isError() ? Outcome::first : Outcome::handedOver);
    });
}

void SingleInstance::OpenSettings()
{
    QTimer::singleShot(0, this, [this] {
        if (m_openSettings)
            m_openSettings();
    });
}

} // namespace tremlor
