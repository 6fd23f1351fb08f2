#pragma once

#include "Platform/PowerAssertion.h"

#include <QDBusServiceWatcher>
#include <QObject>

#include <memory>

namespace tremlor {

class BusLink;

// Keeps the system from idle sleep: logind's Manager.Inhibit("idle:sleep", …, "block") on the
// system bus. The returned descriptor is the lock; closing it releases the lock.
class LogindInhibitor final : public QObject, public PowerAssertion {
    Q_OBJECT

public:
    static constexpr const char* serviceName = "org.freedesktop.login1";

    // systemBus: the link to use (the standard system bus when null).
    explicit LogindInhibitor(std::shared_ptr<BusLink> systemBus = nullptr);
    ~LogindInhibitor() override;
    Q_DISABLE_COPY_MOVE(LogindInhibitor)

    bool acquire(const QString& reason) override;
    void release() override;
    bool isHeld() const override { return m_fd >= 0; }
    void setChangeHandler(ChangeHandler handler) override { m_onChange = std::move(handler); }

private:
    void watch();
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner);
    void onBusLost();
    void dropLock();
    void report(Change change);

    std::shared_ptr<BusLink> m_bus;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    int m_fd = -1;
    QString m_owner;
    ChangeHandler m_onChange;
};

} // namespace tremlor
