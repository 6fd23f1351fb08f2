#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace kestu {

namespace {
std::optional<bool> s_override;

QVariant unwrap(QVariant value)
{
    // Settings.Read answers a variant inside a variant; ReadOne a single one.
    for (int i = 0; i < 3 && value.userType() == qMetaTypeId<QDBusVariant>(); ++i)
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

std::optional<bool> callPortal(const QDBusConnection& bus, const QString& method, int timeoutMs)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.Settings"), method);
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("reduced-motion");
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant value = unwrap(reply.arguments().first());
    bool ok = false;
    const uint level = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    // 0: no preference, 1: reduced motion.
    return level == 1;
}
} // namespace

namespace ReducedMotion {
std::optional<bool> fromPortal(const QDBusConnection& bus, int timeoutMs)
{
    if (!bus.isConnected())
        return std::nullopt;
    if (auto value = callPortal(bus, QStringLiteral("ReadOne"), timeoutMs))
        return value;
    return callPortal(bus, QStringLiteral("Read"), timeoutMs);
}

QHash<QString, int> parseXSettingsIntegers(const QByteArray& data)
{
    QHash<QString, int> result;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    if (size < 12)
        return result;
    const bool bigEndian = bytes[0] == 1;
    const auto card16 = [&](qsizetype at) {
        return bigEndian ? quint16(bytes[at] << 8 | bytes[at + 1]) : quint16(bytes[at + 1] << 8 | bytes[at]);
    };
    const auto card32 = [&](qsizetype at) {
        return bigEndian
            ? quint32(bytes[at]) << 24 | quint32(bytes[at + 1]) << 16 | quint32(bytes[at + 2]) << 8 | bytes[at + 3]
            : quint32(bytes[at + 3]) << 24 | quint32(bytes[at + 2]) << 16 | quint32(bytes[at + 1]) << 8 | bytes[at];
    };
    const auto padded = [](quint64 n) { return (n + 3) & ~quint64(3); };
    const quint32 count = card32(8);
    qsizetype at = 12;
    // Every length is checked against what is left, so a short or lying property stops here.
    for (quint32 i = 0; i < count; ++i) {
        if (size - at < 4)
            break;
        const int type = bytes[at];
        const quint16 nameLength = card16(at + 2);
        const quint64 nameEnd = quint64(at) + 4 + padded(nameLength);
        if (nameEnd + 4 > quint64(size))
            break;
        const QString name = QString::fromLatin1(data.constData() + at + 4, nameLength);
        qsizetype value = qsizetype(nameEnd) + 4; // after the last-change serial
        if (type == 0) {
            if (size - value < 4)
                break;
            result.insert(name, int(card32(value)));
            at = value + 4;
        } else if (type == 1) {
            if (size - value < 4)
                break;
            const quint64 end = quint64(value) + 4 + padded(card32(value));
            if (end > quint64(size))
                break;
            at = qsizetype(end);
        } else if (type == 2) {
            if (size - value < 8)
                break;
            at = value + 8;
        } else {
            break;
        }
    }
    return result;
}

std::optional<bool> fromXSettings(void* xcbConnection, int screen)
{
    auto* c = static_cast<xcb_connection_t*>(xcbConnection);
    if (!c || xcb_connection_has_error(c))
        return std::nullopt;
    const auto intern = [c](const QByteArray& name) {
        auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    };
    const xcb_atom_t selection = intern("_XSETTINGS_S" + QByteArray::number(screen));
    const xcb_atom_t property = intern("_XSETTINGS_SETTINGS");
    auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const xcb_window_t window = owner ? owner->owner : xcb_window_t(XCB_WINDOW_NONE);
    std::free(owner);
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;
    auto* reply = xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, property, 0, 1 << 16), nullptr);
    if (!reply)
        return std::nullopt;
    const QByteArray data(
        static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    const QHash<QString, int> settings = parseXSettingsIntegers(data);
    const auto it = settings.constFind(QStringLiteral("Gtk/EnableAnimations"));
    if (it == settings.constEnd())
        return std::nullopt;
    return *it == 0;
}

std::optional<bool> fromGSettings(const QString& program, int timeoutMs)
{
    QProcess process;
    process.start(program,
        { QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations") });
    if (!process.waitForStarted(timeoutMs) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(100);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    const QByteArray answer = process.readAllStandardOutput().trimmed();
    if (answer == "true")
        return false;
    if (answer == "false")
        return true;
    return std::nullopt;
}
} // namespace ReducedMotion

bool prefersReducedMotion()
{
    if (s_override)
        return *s_override;
    static const bool desktop = [] {
        // Without a configured session bus, asking for one would autolaunch a daemon.
        if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
            if (auto portal = ReducedMotion::fromPortal(QDBusConnection::sessionBus()))
                return *portal;
        }
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            int screen = 0;
            xcb_connection_t* c = xcb_connect(nullptr, &screen);
            const auto xsettings = ReducedMotion::fromXSettings(c, screen);
            xcb_disconnect(c);
            if (xsettings)
                return *xsettings;
        }
        if (auto gnome = ReducedMotion::fromGSettings())
            return *gnome;
        return false;
    }();
    return desktop;
}

void setReducedMotionOverride(std::optional<bool> reduced)
{
    s_override = reduced;
}

} // namespace kestu
