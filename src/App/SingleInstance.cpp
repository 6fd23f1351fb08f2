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
// An owner that quits just as we hand over leaves the name free: ask once more, not forever.
constexpr int kTries = 2;
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
    requestName(kTries, std::move(done));
}

void SingleInstance::requestName(int tries, Done done)
{
    // Served before the name is ours, so a later instance never finds the name without it.
    m_bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots);
    auto request = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << QLatin1String(serviceName) << kDoNotQueue;
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(request), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, tries, done = std::move(done)]() mutable {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (!reply.isError() && (reply.value() == kPrimaryOwner || reply.value() == kAlreadyOwner)) {
            done(Outcome::first);
            return;
        }
        m_bus.unregisterObject(QLatin1String(objectPath));
        if (reply.isError()) {
            fail(QStringLiteral("the session bus did not give it the name %1 (%2)")
                     .arg(QLatin1String(serviceName), reply.error().message()),
                done);
            return;
        }
        handOver(tries, std::move(done));
    });
}

void SingleInstance::handOver(int tries, Done done)
{
    const auto message = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
        QLatin1String(serviceName), QStringLiteral("OpenSettings"));
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, 5000), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, tries, done = std::move(done)]() mutable {
        call->deleteLater();
        if (!call->isError()) {
            done(Outcome::handedOver);
            return;
        }
        // The owner may have quit in between and left the name free.
        if (tries > 1) {
            requestName(tries - 1, std::move(done));
            return;
        }
        fail(QStringLiteral("another process holds the name %1 on the session bus but did not answer (%2)")
                 .arg(QLatin1String(serviceName), call->error().message()),
            done);
    });
}

void SingleInstance::fail(const QString& why, const Done& done)
{
    m_failure = why;
    done(Outcome::failed);
}

void SingleInstance::OpenSettings()
{
    QTimer::singleShot(0, this, [this] {
        if (m_openSettings)
            m_openSettings();
    });
}

} // namespace tremlor
