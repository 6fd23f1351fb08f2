#pragma once

#include "Platform/DBus/BusPowerAssertion.h"

#include <memory>

namespace tremlor {

// Keeps the system from idle sleep: logind's Manager.Inhibit("idle:sleep", …, "block") on the
// system bus. The returned descriptor is the lock; closing it releases the lock. logind is
// asked without waiting; an answer later than BusLink's call timeout counts as a refusal, and
// its lock closes with the answer.
class LogindInhibitor final : public BusPowerAssertion {
    Q_OBJECT

public:
    static constexpr const char* serviceName = "org.freedesktop.login1";

    // systemBus: the link to use (the standard system bus when null).
    explicit LogindInhibitor(std::shared_ptr<BusLink> systemBus = nullptr);
    ~LogindInhibitor() override;
    Q_DISABLE_COPY_MOVE(LogindInhibitor)

    void acquire(const QString& reason, Done done) override;
    void release() override;
    bool isHeld() const override { return m_fd >= 0; }

private:
    void onOwnerChanged(const QString& oldOwner, const QString& newOwner) override;
    void onBusLost() override;
    void finish(int fd, const QString& owner);
    void dropLock();

    int m_fd = -1;
    QString m_owner;
};

} // namespace tremlor
