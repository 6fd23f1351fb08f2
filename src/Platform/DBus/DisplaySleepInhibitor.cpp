#include "Platform/DBus/DisplaySleepInhibitor.h"

#include "Platform/DBus/BusLink.h"
#include "Platform/X11/XScreenSaverSuspender.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace tremlor {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kApplication = QStringLiteral("Tremlor");
// How long an answer that came too late for the main thread is still awaited.
constexpr int kLateReplyMs = 30000;

// Waits for a call without running the event loop (Qt D-Bus receives on its own thread).
bool waitFor(const QDBusPendingCall& call, const QDeadlineTimer& deadline)
{
    while (!call.isFinished()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}

} // namespace

DisplaySleepInhibitor::DisplaySleepInhibitor(std::shared_ptr<BusLink> sessionBus, QByteArray displayName)
    : BusPowerAssertion(sessionBus ? std::move(sessionBus) : BusLink::session(), serviceName)
    , m_x11(std::make_unique<XScreenSaverSuspender>(std::move(displayName)))
{
}

DisplaySleepInhibitor::~DisplaySleepInhibitor()
{
    setChangeHandler(nullptr);
    release();
}

bool DisplaySleepInhibitor::acquire(const QString& reason)
{
    if (m_mode != Mode::none)
        return true;
    if (inhibitThroughService(reason)) {
        m_mode = Mode::service;
        return true;
    }
    if (m_x11->suspend()) {
        m_mode = Mode::x11;
        return true;
    }
    return false;
}

bool DisplaySleepInhibitor::inhibitThroughService(const QString& reason)
{
    if (!busLink().isConnected())
        return false;
    QDBusConnection bus = busLink().connection();
    // All the calls below share one timeout: the main thread waits 1 s at most.
    const QDeadlineTimer deadline(BusLink::callTimeoutMs);
    const auto remaining = [&] { return int(std::max<qint64>(1, deadline.remainingTime())); };
    // Asking the bus first answers at once when no screensaver runs.
    const QDBusMessage ownerCall = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("GetNameOwner"));
    const QDBusMessage owner
        = bus.call(QDBusMessage(ownerCall) << QString::fromLatin1(serviceName), QDBus::Block, remaining());
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().isEmpty())
        return false;
    const QString ownerName = owner.arguments().constFirst().toString();
    // Newer desktops serve /org/freedesktop/ScreenSaver, older KDE only /ScreenSaver.
    for (const QString& path : { QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver") }) {
        QDBusMessage call = QDBusMessage::createMethodCall(ownerName, path, kInterface, QStringLiteral("Inhibit"));
        call << kApplication << reason;
        QDBusPendingCall pending = bus.asyncCall(call, kLateReplyMs);
        if (!waitFor(pending, deadline)) {
            // Too slow for the main thread: give up, but give back what a late answer grants.
            uninhibitWhenAnswered(pending, ownerName, path);
            return false;
        }
        const QDBusMessage reply = pending.reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            continue;
        bool ok = false;
        const uint cookie = reply.arguments().constFirst().toUInt(&ok);
        if (!ok)
            continue;
        m_cookie = cookie;
        m_path = path;
        m_owner = ownerName;
        return true;
    }
    return false;
}

void DisplaySleepInhibitor::uninhibitWhenAnswered(
    const QDBusPendingCall& pending, const QString& owner, const QString& path)
{
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, owner, path](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusMessage reply = finished->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            return;
        QDBusMessage call = QDBusMessage::createMethodCall(owner, path, kInterface, QStringLiteral("UnInhibit"));
        call << reply.arguments().constFirst().toUInt();
        busLink().connection().asyncCall(call, BusLink::callTimeoutMs);
    });
}

void DisplaySleepInhibitor::release()
{
    switch (m_mode) {
    case Mode::none:
        return;
    case Mode::service:
        if (busLink().isConnected()) {
            QDBusMessage call
                = QDBusMessage::createMethodCall(m_owner, m_path, kInterface, QStringLiteral("UnInhibit"));
            call << m_cookie;
            // Nothing to wait for: the answer carries nothing.
            busLink().connection().asyncCall(call, BusLink::callTimeoutMs);
        }
        break;
    case Mode::x11:
        m_x11->resume();
        break;
    }
    m_mode = Mode::none;
    m_cookie = 0;
    m_owner.clear();
}

void DisplaySleepInhibitor::onOwnerChanged(const QString& oldOwner, const QString& newOwner)
{
    if (m_mode == Mode::service && oldOwner == m_owner) {
        // The service that held our cookie is gone (or restarted): the inhibit went with it.
        m_mode = Mode::none;
        m_cookie = 0;
        m_owner.clear();
        report(Change::lost);
    }
    if (!newOwner.isEmpty())
        report(Change::available);
}

void DisplaySleepInhibitor::onBusLost()
{
    if (m_mode != Mode::service)
        return;
    m_mode = Mode::none;
    m_cookie = 0;
    m_owner.clear();
    report(Change::lost);
}

} // namespace tremlor
