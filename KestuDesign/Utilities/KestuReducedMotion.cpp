#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>

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
        if (auto portal = ReducedMotion::fromPortal(QDBusConnection::sessionBus()))
            return *portal;
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
