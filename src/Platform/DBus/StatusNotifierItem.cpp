#include "Platform/DBus/StatusNotifierItem.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QtEndian>

namespace tremlor {

QDBusArgument& operator<<(QDBusArgument& arg, const SniIconPixmap& pixmap)
{
    arg.beginStructure();
    arg << pixmap.width << pixmap.height << pixmap.bytes;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniIconPixmap& pixmap)
{
    arg.beginStructure();
    arg >> pixmap.width >> pixmap.height >> pixmap.bytes;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip)
{
    arg.beginStructure();
    arg << tip.iconName << tip.iconPixmap << tip.title << tip.description;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip)
{
    arg.beginStructure();
    arg >> tip.iconName >> tip.iconPixmap >> tip.title >> tip.description;
    arg.endStructure();
    return arg;
}

namespace {
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

void registerTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<SniIconPixmap>();
        qDBusRegisterMetaType<SniIconPixmapList>();
        qDBusRegisterMetaType<SniToolTip>();
        return true;
    }();
    Q_UNUSED(done);
}
} // namespace

const QList<int>& StatusNotifierItem::iconSizes()
{
    static const QList<int> sizes { 16, 22, 32, 48 };
    return sizes;
}

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QString id, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_id(std::move(id))
{
    registerTypes();
}

StatusNotifierItem::~StatusNotifierItem()
{
    if (m_exported)
        m_bus.unregisterObject(QLatin1String(objectPath));
}

bool StatusNotifierItem::start()
{
    if (!m_bus.isConnected())
        return false;
    if (!m_exported) {
        m_exported = m_bus.registerObject(QLatin1String(objectPath), this,
            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals
                | QDBusConnection::ExportAllProperties);
        if (!m_exported)
            return false;
    }
    m_watcher = new QDBusServiceWatcher(QLatin1String(watcherService), m_bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { registerWithWatcher(); });
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        ++m_attempt;
        setRegistered(false);
    });

    // Is a watcher there already? Asked without waiting.
    const auto message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("NameHasOwner"));
    auto* call
        = new QDBusPendingCallWatcher(m_bus.asyncCall(QDBusMessage(message) << QLatin1String(watcherService)), this);
    const quint64 attempt = m_attempt;
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, attempt] {
        call->deleteLater();
        const QDBusPendingReply<bool> reply = *call;
        if (attempt != m_attempt)
            return;
        if (reply.isValid() && reply.value())
            registerWithWatcher();
        else
            Q_EMIT registrationChanged(false);
    });
    return true;
}

void StatusNotifierItem::registerWithWatcher()
{
    const quint64 attempt = ++m_attempt;
    const auto message = QDBusMessage::createMethodCall(QLatin1String(watcherService), kWatcherPath,
        QLatin1String(watcherService), QStringLiteral("RegisterStatusNotifierItem"));
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(QDBusMessage(message) << m_bus.baseService()), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, attempt] {
        call->deleteLater();
        if (attempt != m_attempt)
            return;
        setRegistered(!call->isError());
    });
}

void StatusNotifierItem::setRegistered(bool registered)
{
    m_registered = registered;
    Q_EMIT registrationChanged(registered);
}

void StatusNotifierItem::setIcon(const QIcon& icon)
{
    m_pixmaps = pixmapsFor(icon);
    Q_EMIT NewIcon();
}

void StatusNotifierItem::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    Q_EMIT NewTitle();
}

void StatusNotifierItem::setToolTip(const QString& title, const QString& description)
{
    if (title == m_toolTip.title && description == m_toolTip.description)
        return;
    m_toolTip.title = title;
    m_toolTip.description = description;
    Q_EMIT NewToolTip();
}

void StatusNotifierItem::setLabel(const QString& label, const QString& guide)
{
    if (label == m_label && guide == m_labelGuide)
        return;
    m_label = label;
    m_labelGuide = guide;
    Q_EMIT XAyatanaNewLabel(m_label, m_labelGuide);
}

SniIconPixmapList StatusNotifierItem::pixmapsFor(const QIcon& icon)
{
    SniIconPixmapList list;
    if (icon.isNull())
        return list;
    for (const int size : iconSizes()) {
        QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        if (image.isNull())
            continue;
        if (image.size() != QSize(size, size))
            image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        image = image.convertToFormat(QImage::Format_ARGB32);
        SniIconPixmap pixmap { image.width(), image.height(), {} };
        pixmap.bytes.resize(qsizetype(image.width()) * image.height() * 4);
        auto* out = reinterpret_cast<quint32*>(pixmap.bytes.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *out++ = qToBigEndian(line[x]);
        }
        list.append(pixmap);
    }
    return list;
}

void StatusNotifierItem::Activate(int x, int y)
{
    Q_EMIT activated(QPoint(x, y));
}

void StatusNotifierItem::SecondaryActivate(int x, int y)
{
    Q_EMIT activated(QPoint(x, y));
}

void StatusNotifierItem::ContextMenu(int x, int y)
{
    // No menu of its own: the panel holds every action.
    Q_EMIT activated(QPoint(x, y));
}

void StatusNotifierItem::Scroll(int, const QString&)
{
}

} // namespace tremlor
