#include "Platform/DBus/DBusNotificationCenter.h"

#include "Platform/DBus/BusLink.h"
#include "Platform/Dispatch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

namespace tremlor {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage notificationsCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

} // namespace

DBusNotificationCenter::DBusNotificationCenter(std::shared_ptr<BusLink> sessionBus, QObject* parent)
    : QObject(parent)
    , m_bus(sessionBus ? std::move(sessionBus) : BusLink::session())
{
}

DBusNotificationCenter::~DBusNotificationCenter() = default;

void DBusNotificationCenter::requestAuthorization(std::function<void(bool granted)> completion)
{
    if (!completion)
        return;
    if (!m_bus->isConnected()) {
        dispatch::async(this, [completion = std::move(completion)] { completion(false); });
        return;
    }
    const QDBusPendingCall pending
        = m_bus->connection().asyncCall(notificationsCall(QStringLiteral("GetCapabilities")), BusLink::callTimeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [completion = std::move(completion)](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            completion(!call->isError() && call->reply().type() == QDBusMessage::ReplyMessage);
        });
}

void DBusNotificationCenter::deliver(const QString& title, const QString& body, const QString& identifier)
{
    Q_UNUSED(identifier) // the service numbers notifications itself
    if (!m_bus->isConnected())
        return;
    QDBusMessage call = notificationsCall(QStringLiteral("Notify"));
    const QVariantMap hints { { QStringLiteral("sound-name"), QStringLiteral("message-new-instant") } };
    call << QStringLiteral("Tremlor") << uint(0) << QString() << title << body << QStringList() << hints << int(-1);
    m_bus->connection().asyncCall(call, BusLink::callTimeoutMs);
}

} // namespace tremlor
