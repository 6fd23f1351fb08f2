#pragma once

#include <QString>

#include <functional>

namespace tremlor {

// Delivers the user notifications of the program (the session's expiry).
class NotificationCenter {
public:
    virtual ~NotificationCenter() = default;
    // Asks whether alerts with sound may be shown; completion runs later on the main thread
    // (never inside this call), with false when the service cannot be reached.
    virtual void requestAuthorization(std::function<void(bool granted)> completion) = 0;
    // Shows a notification at once, with the default sound. Failures are ignored.
    virtual void deliver(const QString& title, const QString& body, const QString& identifier) = 0;
};

} // namespace tremlor
