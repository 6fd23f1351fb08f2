#pragma once

#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUuid>
#include <QVariantList>

#include <functional>
#include <vector>

// Reads what dbusmock objects saw, over a connection of the test's own.
namespace probe {

using ::waitUntil;

inline QVariant unwrap(QVariant value)
{
    if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
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

    // The calls of `method` the mock object at path recorded (org.freedesktop.DBus.Mock.GetCalls).
    std::vector<Call> calls(const QString& service, const QString& path, const QString& method)
    {
        std::vector<Call> result;
        const QDBusMessage reply = call(service, path, "org.freedesktop.DBus.Mock", "GetCalls");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return result;
        const auto array = reply.arguments().constFirst().value<QDBusArgument>();
        array.beginArray();
        while (!array.atEnd()) {
            Call c;
            qulonglong timestamp = 0;
            array.beginStructure();
            array >> timestamp >> c.method;
            array.beginArray();
            while (!array.atEnd()) {
                QDBusVariant v;
                array >> v;
                c.args << unwrap(v.variant());
            }
            array.endArray();
            array.endStructure();
            if (c.method == method)
                result.push_back(c);
        }
        array.endArray();
        return result;
    }

    // logind's current inhibitors as "what|who|why|mode".
    QStringList inhibitors()
    {
        QStringList result;
        const QDBusMessage reply = call(
            "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "ListInhibitors");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return { "error: " + reply.errorMessage() };
        const auto array = reply.arguments().constFirst().value<QDBusArgument>();
        array.beginArray();
        while (!array.atEnd()) {
            QString what, who, why, mode;
            uint uid = 0, pid = 0;
            array.beginStructure();
            array >> what >> who >> why >> mode >> uid >> pid;
            array.endStructure();
            result << QStringList { what, who, why, mode }.join('|');
        }
        array.endArray();
        return result;
    }

    QDBusConnection connection() const { return m_connection; }

private:
    QString m_name;
    QDBusConnection m_connection;
};

} // namespace probe
