#pragma once

#include "Platform/DBus/BusPowerAssertion.h"

#include <QByteArray>
#include <QDBusMessage>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QDBusPendingCallWatcher;

namespace tremlor {

class XScreenSaverSuspender;

// Keeps the display awake: org.freedesktop.ScreenSaver's Inhibit on the session bus (at
// /org/freedesktop/ScreenSaver, then /ScreenSaver), else the X server's screensaver suspension.
// The service is asked without waiting; one that has not answered within BusLink's call
// timeout is passed over for the X server, and what it grants later is given back. A service
// that appears while the X server holds the display is asked again and takes over.
class DisplaySleepInhibitor final : public BusPowerAssertion {
    Q_OBJECT

public:
    static constexpr const char* serviceName = "org.freedesktop.ScreenSaver";

    // sessionBus: the link to use (the standard session bus when null); displayName: the X
    // display for the fallback (empty: $DISPLAY).
    explicit DisplaySleepInhibitor(std::shared_ptr<BusLink> sessionBus = nullptr, QByteArray displayName = {});
    ~DisplaySleepInhibitor() override;
    Q_DISABLE_COPY_MOVE(DisplaySleepInhibitor)

    void acquire(const QString& reason, Done done) override;
    void release() override;
    bool isHeld() const override { return m_mode != Mode::none; }

    // True while held through the screensaver service (not the X fallback).
    bool isHeldByService() const { return m_mode == Mode::service; }

private:
    enum class Mode { none, service, x11 };
    using Answer = std::function<void(const QDBusMessage& reply)>;
    // Sends a call for the request in flight; `answer` runs only while that request is still
    // the current one, otherwise a granted cookie is given back.
    void ask(const QDBusMessage& call, const QString& path, Answer answer);
    // Asks for the request in flight: the service where it runs, else the X server.
    void askService();
    void moveToService();
    void inhibitAt(int pathIndex);
    void finish(Mode mode);
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner) override;
    void onBusLost() override;
    void onBusBack() override;
    void forget();

    std::unique_ptr<XScreenSaverSuspender> m_x11;
    Mode m_mode = Mode::none;
    std::uint32_t m_cookie = 0;
    QString m_path;
    QString m_owner;
    // The reason of the request in flight.
    QString m_reason;
};

} // namespace tremlor
