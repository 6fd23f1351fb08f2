#pragma once

#include "Platform/PowerAssertion.h"

#include <QByteArray>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QObject>

#include <cstdint>
#include <memory>

namespace tremlor {

class BusLink;
class XScreenSaverSuspender;

// Keeps the display awake: org.freedesktop.ScreenSaver's Inhibit on the session bus (at
// /org/freedesktop/ScreenSaver, then /ScreenSaver), else the X server's screensaver suspension.
class DisplaySleepInhibitor final : public QObject, public PowerAssertion {
    Q_OBJECT

public:
    static constexpr const char* serviceName = "org.freedesktop.ScreenSaver";

    // sessionBus: the link to use (the standard session bus when null); displayName: the X
    // display for the fallback (empty: $DISPLAY).
    explicit DisplaySleepInhibitor(std::shared_ptr<BusLink> sessionBus = nullptr, QByteArray displayName = {});
    ~DisplaySleepInhibitor() override;
    Q_DISABLE_COPY_MOVE(DisplaySleepInhibitor)

    bool acquire(const QString& reason) override;
    void release() override;
    bool isHeld() const override { return m_mode != Mode::none; }
    void setChangeHandler(ChangeHandler handler) override { m_onChange = std::move(handler); }

    // True while held through the screensaver service (not the X fallback).
    bool isHeldByService() const { return m_mode == Mode::service; }

private:
    enum class Mode { none, service, x11 };
    bool inhibitThroughService(const QString& reason);
    void uninhibitWhenAnswered(const QDBusPendingCall& pending, const QString& owner, const QString& path);
    void watch();
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner);
    void onBusLost();
    void report(Change change);

    std::shared_ptr<BusLink> m_bus;
    std::unique_ptr<XScreenSaverSuspender> m_x11;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    Mode m_mode = Mode::none;
    std::uint32_t m_cookie = 0;
    QString m_path;
    QString m_owner;
    ChangeHandler m_onChange;
};

} // namespace tremlor
