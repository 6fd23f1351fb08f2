#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QProcess>

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
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

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kReducedMotion = QStringLiteral("reduced-motion");

QDBusMessage portalCall(const QString& method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kSettings, method);
    call << kAppearance << kReducedMotion;
    return call;
}

std::optional<bool> fromPortalReply(const QDBusMessage& reply)
{
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

ReducedMotionNotifier::ReducedMotionNotifier(
    const QDBusConnection& bus, const QByteArray& display, const QString& gsettings, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (m_bus.isConnected()) {
        m_bus.connect(kPortal, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
            SLOT(onSettingChanged(QDBusMessage)));
        askPortal(QStringLiteral("ReadOne"));
    }
    if (!display.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY") || !gsettings.isEmpty())
        m_worker = std::thread([this, display, gsettings] { watchDesktop(display, gsettings); });
}

ReducedMotionNotifier::~ReducedMotionNotifier()
{
    {
        // Wakes the thread from its wait for X events; it then closes its connection.
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        if (m_xcb)
            ::shutdown(xcb_get_file_descriptor(static_cast<xcb_connection_t*>(m_xcb)), SHUT_RDWR);
    }
    if (m_worker.joinable())
        m_worker.join();
}

void ReducedMotionNotifier::askPortal(const QString& method)
{
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(portalCall(method), 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const std::optional<bool> value = fromPortalReply(finished->reply());
        // Older portals have Read only.
        if (!value && method == QStringLiteral("ReadOne"))
            askPortal(QStringLiteral("Read"));
        else
            set(portal, value);
    });
}

void ReducedMotionNotifier::onSettingChanged(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() != 3 || args.at(0).toString() != kAppearance || args.at(1).toString() != kReducedMotion)
        return;
    bool ok = false;
    const uint level = unwrap(args.at(2)).toUInt(&ok);
    set(portal, ok ? std::optional<bool>(level == 1) : std::nullopt);
}

void ReducedMotionNotifier::set(Source source, std::optional<bool> value)
{
    m_sources[source] = value;
    bool reduced = false;
    for (const auto& answer : m_sources) {
        if (answer) {
            reduced = *answer;
            break;
        }
    }
    if (reduced == m_reduced)
        return;
    m_reduced = reduced;
    Q_EMIT changed(reduced);
}

// The answer waits under our lock; the queued call by name carries none of our data through
// Qt, whose queue locks a thread checker cannot see.
void ReducedMotionNotifier::post(Source source, std::optional<bool> value)
{
    {
        const std::lock_guard lock(m_mutex);
        m_posted.emplace_back(source, value);
    }
    QMetaObject::invokeMethod(this, "takePosted", Qt::QueuedConnection);
}

void ReducedMotionNotifier::takePosted()
{
    std::vector<std::pair<Source, std::optional<bool>>> posted;
    {
        const std::lock_guard lock(m_mutex);
        posted.swap(m_posted);
    }
    for (const auto& [source, value] : posted)
        set(source, value);
}

void ReducedMotionNotifier::watchDesktop(QByteArray display, QString gsettings)
{
    if (!gsettings.isEmpty())
        post(gnome, ReducedMotion::fromGSettings(gsettings));
    int screen = 0;
    xcb_connection_t* c = nullptr;
    if (!display.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY"))
        c = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screen);
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping || !c || xcb_connection_has_error(c)) {
            if (c)
                xcb_disconnect(c);
            return;
        }
        m_xcb = c;
    }
    post(xsettings, ReducedMotion::fromXSettings(c, screen));
    // The settings manager rewrites its property on every change.
    const QByteArray selection = "_XSETTINGS_S" + QByteArray::number(screen);
    auto* atom
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(selection.size()), selection.constData()), nullptr);
    auto* owner = atom ? xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr) : nullptr;
    if (owner && owner->owner != XCB_WINDOW_NONE) {
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, owner->owner, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
    }
    std::free(atom);
    std::free(owner);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool property = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        std::free(event);
        if (property)
            post(xsettings, ReducedMotion::fromXSettings(c, screen));
    }
    const std::lock_guard lock(m_mutex);
    m_xcb = nullptr;
    xcb_disconnect(c);
}

namespace ReducedMotion {
ReducedMotionNotifier* notifier()
{
    static QPointer<ReducedMotionNotifier> instance;
    if (!instance && qApp) {
        // Without a configured session bus, asking for one would autolaunch a daemon.
        const QDBusConnection bus = qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")
            ? QDBusConnection(QStringLiteral("kestu-no-bus"))
            : QDBusConnection::sessionBus();
        instance = new ReducedMotionNotifier(bus, {}, QStringLiteral("gsettings"), qApp);
    }
    return instance;
}
} // namespace ReducedMotion

bool prefersReducedMotion()
{
    if (s_override)
        return *s_override;
    ReducedMotionNotifier* notifier = ReducedMotion::notifier();
    return notifier && notifier->reduced();
}

void setReducedMotionOverride(std::optional<bool> reduced)
{
    s_override = reduced;
}

} // namespace kestu
