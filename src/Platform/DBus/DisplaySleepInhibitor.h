#pragma once

#include "Platform/DBus/BusPowerAssertion.h"

#include <QByteArray>
#include <QDBusPendingCall>

#include <cstdint>
#include <memory>

namespace tremlor {

class XScreenSaverSuspender;

// Keeps the display awake: org.freedesktop.ScreenSaver's Inhibit on the session bus (at
// /org/freedesktop/ScreenSaver, then /ScreenSaver), else the X server's screensaver suspension.
class DisplaySleepInhibitor final : public BusPowerAssertion {
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

    // True while held through the screensaver service (not the X fallback).
    bool isHeldByService() const { return m_mode == Mode::service; }

private:
    enum class Mode { none, service, x11 };
    bool inhibitThroughService(const QString& reason);
    void uninhibitWhenAnswered(const QDBusPendingCall& pending, const QString& owner, const QString& path);
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner) override;
    void onBusLost() override;

    std::unique_ptr<XScreenSaverSuspender> m_x11;
    Mode m_mode = Mode::none;
    std::uint32_t m_cookie = 0;
    QString m_path;
    QString m_owner;
};

} // namespace tremlor
