#pragma once

#include "Platform/NotificationCenter.h"

#include <QObject>

#include <memory>

namespace tremlor {

class BusLink;

// org.freedesktop.Notifications on the session bus: authorised when the service answers
// GetCapabilities; notifications carry the sound hint "message-new-instant".
class DBusNotificationCenter final : public QObject, public NotificationCenter {
    Q_OBJECT

public:
    // sessionBus: the link to use (the standard session bus when null).
    explicit DBusNotificationCenter(std::shared_ptr<BusLink> sessionBus = nullptr, QObject* parent = nullptr);
    ~DBusNotificationCenter() override;
    Q_DISABLE_COPY_MOVE(DBusNotificationCenter)

    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void deliver(const QString& title, const QString& body, const QString& identifier) override;

private:
    std::shared_ptr<BusLink> m_bus;
};

} // namespace tremlor
