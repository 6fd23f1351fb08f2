#pragma once

#include "Platform/PowerAssertion.h"

#include <QDBusServiceWatcher>
#include <QObject>

#include <memory>

namespace tremlor {

class BusLink;

// An inhibit held through one service on a bus. Follows the service's owner and the bus
// itself, hands their changes to the subclass and reports service or bus coming back.
class BusPowerAssertion : public QObject, public PowerAssertion {
    Q_OBJECT

public:
    ~BusPowerAssertion() override;
    Q_DISABLE_COPY_MOVE(BusPowerAssertion)

    void setChangeHandler(ChangeHandler handler) final { m_onChange = std::move(handler); }

protected:
    BusPowerAssertion(std::shared_ptr<BusLink> bus, const char* serviceName);

    BusLink& busLink() const { return *m_bus; }
    void report(Change change);

    // One request at a time. Keeps `done` for the answer and tells whether a request must be
    // sent now (false: one is already on its way, and its answer completes this caller too).
    bool startRequest(Done done);
    // The number of the request in flight; an answer carrying another number is stale.
    unsigned requestNumber() const { return m_request; }
    // Ends the request in flight and tells its caller whether the assertion is held.
    void finishRequest(bool held);
    // Drops the request in flight, if any: its answer, when it comes, is stale.
    void abandonRequest();

    // The service changed hands; either owner may be empty.
    virtual void onOwnerChanged(const QString& oldOwner, const QString& newOwner) = 0;
    // The bus went away; the owner is not followed until it is back.
    virtual void onBusLost() = 0;
    // The bus is back (the service may already run there).
    virtual void onBusBack() { }

private:
    void watch();

    const std::shared_ptr<BusLink> m_bus;
    const QString m_serviceName;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    ChangeHandler m_onChange;
    unsigned m_request = 0; // odd while a request is in flight
    Done m_done;
};

} // namespace tremlor
