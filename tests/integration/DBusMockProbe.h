#pragma once

#include "support/WaitUntil.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUuid>
#include <QVariantList>

#include <vector>

// Reads what dbusmock objects saw, over a connection of the test's own.
namespace probe {

using ::waitUntil;

inline QVariant unwrap(const QVariant& value)
{
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentType() == QDBusArgument::MapType)
            return qdbus_cast<QVariantMap>(argument);
        if (argument.currentType() == QDBusArgument::ArrayType)
            return qdbus_cast<QStringList>(argument);
    }
    return value;
}

struct Call {
    QString method;
    QVariantList args;
};

class Bus {
public:
    explicit Bus(const QString& address)
        : m_name(QUuid::createUuid().toString())
        , m_connection(QDBusConnection::connectToBus(address, m_name))
    {
    }
    ~Bus() { QDBusConnection::disconnectFromBus(m_name); }
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    QDBusMessage call(const QString& service, const QString& path, const QString& interface, const QString& method,
        const QVariantList& args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(args);
        return m_connection.call(message, QDBus::Block, 5000);
    }

    // The calls of `method` the mock object at path recorded (org.freedesktop.DBus.Mock.GetMethodCalls).
    std::vector<Call> calls(const QString& service, const QString& path, const QString& method)
    {
        std::vector<Call> result;
        eachStructure(call(service, path, "org.freedesktop.DBus.Mock", "GetMethodCalls", { method }),
            [&](const QDBusArgument& entry) {
                qulonglong timestamp = 0;
                QVariantList args;
                entry >> timestamp >> args;
                result.push_back({ method, {} });
                for (const QVariant& arg : args)
                    result.back().args << unwrap(arg);
            });
        return result;
    }

    // logind's current inhibitors as "what|who|why|mode".
    QStringList inhibitors()
    {
        QStringList result;
        const QDBusMessage reply = call(
            "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "ListInhibitors");
        const bool answered = eachStructure(reply, [&](const QDBusArgument& inhibitor) {
            QString what, who, why, mode;
            uint uid = 0, pid = 0;
            inhibitor >> what >> who >> why >> mode >> uid >> pid;
            result << QStringList { what, who, why, mode }.join('|');
        });
        return answered ? result : QStringList { "error: " + reply.errorMessage() };
    }

    QDBusConnection connection() const { return m_connection; }

private:
    // Reads each structure of the array a reply carries; false when the call failed.
    static bool eachStructure(const QDBusMessage& reply, const std::function<void(const QDBusArgument&)>& read)
    {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        const auto array = reply.arguments().constFirst().value<QDBusArgument>();
        array.beginArray();
        while (!array.atEnd()) {
            array.beginStructure();
            read(array);
            array.endStructure();
        }
        array.endArray();
        return true;
    }

    QString m_name;
    QDBusConnection m_connection;
};

} // namespace probe
