#include "Platform/DBus/DisplaySleepInhibitor.h"

#include "Platform/DBus/BusLink.h"
#include "Platform/X11/XScreenSaverSuspender.h"

#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QPointer>
#include <QTimer>

namespace tremlor {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kApplication = QStringLiteral("Tremlor");
// Newer desktops serve /org/freedesktop/ScreenSaver, older KDE only /ScreenSaver.
const QStringList kPaths = { QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver") };
// How long an answer that came too late for the request is still awaited, to give it back.
constexpr int kLateReplyMs = 30000;

bool isCookie(const QDBusMessage& reply)
{
    bool ok = false;
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1)
        reply.arguments().constFirst().toUInt(&ok);
    return ok;
}

void unInhibit(BusLink& link, const QString& owner, const QString& path, uint cookie)
{
    if (!link.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(owner, path, kInterface, QStringLiteral("UnInhibit"));
    call << cookie;
    // Nothing to wait for: the answer carries nothing.
    link.connection().asyncCall(call, BusLink::callTimeoutMs);
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

void DisplaySleepInhibitor::acquire(const QString& reason, Done done)
{
    if (m_mode != Mode::none) {
        if (done)
            done(true);
        return;
    }
    if (!startRequest(std::move(done)))
        return;
    m_reason = reason;
    askService();
}

void DisplaySleepInhibitor::askService()
{
    if (!busLink().isConnected()) {
        finish(Mode::none);
        return;
    }
    // The whole exchange gets one short deadline, then the X server takes over.
    QTimer::singleShot(BusLink::callTimeoutMs, this, [this, request = requestNumber()] {
        if (requestNumber() == request)
            finish(Mode::none);
    });
    // Asking the bus first answers at once when no screensaver runs.
    QDBusMessage owner = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("GetNameOwner"));
    owner << QString::fromLatin1(serviceName);
    ask(owner, {}, [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            finish(Mode::none);
            return;
        }
        m_owner = reply.arguments().constFirst().toString();
        inhibitAt(0);
    });
}

void DisplaySleepInhibitor::inhibitAt(int pathIndex)
{
    if (pathIndex >= kPaths.size()) {
        finish(Mode::none);
        return;
    }
    const QString path = kPaths.at(pathIndex);
    QDBusMessage call = QDBusMessage::createMethodCall(m_owner, path, kInterface, QStringLiteral("Inhibit"));
    call << kApplication << m_reason;
    ask(call, path, [this, pathIndex, path](const QDBusMessage& reply) {
        if (!isCookie(reply)) {
            inhibitAt(pathIndex + 1);
            return;
        }
        m_cookie = reply.arguments().constFirst().toUInt();
        m_path = path;
        finish(Mode::service);
    });
}

void DisplaySleepInhibitor::ask(const QDBusMessage& call, const QString& path, Answer answer)
{
    BusLink* link = &busLink();
    // The watcher belongs to the link, so a late cookie is given back even after we are gone.
    auto* watcher = new QDBusPendingCallWatcher(link->connection().asyncCall(call, kLateReplyMs), link);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
        [self = QPointer(this), request = requestNumber(), link, owner = call.service(), path, answer](
            QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            const QDBusMessage reply = finished->reply();
            if (self && self->requestNumber() == request)
                answer(reply);
            else if (!path.isEmpty() && isCookie(reply))
                unInhibit(*link, owner, path, reply.arguments().constFirst().toUInt());
        });
}

void DisplaySleepInhibitor::finish(Mode mode)
{
    if (mode == Mode::none) {
        m_owner.clear();
        if (m_x11->suspend())
            mode = Mode::x11;
    } else {
        m_x11->resume(); // the service holds the display now
    }
    m_mode = mode;
    finishRequest(m_mode != Mode::none);
}

void DisplaySleepInhibitor::release()
{
    abandonRequest(); // a late cookie is given back when it comes
    switch (m_mode) {
    case Mode::none:
        break;
    case Mode::service:
        unInhibit(busLink(), m_owner, m_path, m_cookie);
        break;
    case Mode::x11:
        m_x11->resume();
        break;
    }
    forget();
}

void DisplaySleepInhibitor::forget()
{
    m_mode = Mode::none;
    m_cookie = 0;
    m_owner.clear();
}

void DisplaySleepInhibitor::onOwnerChanged(const QString& oldOwner, const QString& newOwner)
{
    if (m_mode == Mode::service && oldOwner == m_owner) {
        // The service that held our cookie is gone (or restarted): the inhibit went with it.
        forget();
        report(Change::lost);
    }
    if (!newOwner.isEmpty()) {
        moveToService();
        report(Change::available);
    }
}

void DisplaySleepInhibitor::onBusBack()
{
    moveToService();
}

void DisplaySleepInhibitor::moveToService()
{
    // The screensaver service may ignore the X server's suspension and blank the display
    // anyway: while held on the fallback, a service that appears takes over.
    if (m_mode == Mode::x11 && startRequest(nullptr))
        askService();
}

void DisplaySleepInhibitor::onBusLost()
{
    if (m_mode != Mode::service)
        return;
    forget();
    report(Change::lost);
}

} // namespace tremlor
