#include "Platform/DBus/BusPowerAssertion.h"

#include "Platform/DBus/BusLink.h"

#include <utility>

namespace tremlor {

BusPowerAssertion::BusPowerAssertion(std::shared_ptr<BusLink> bus, const char* serviceName)
    : m_bus(std::move(bus))
    , m_serviceName(QString::fromLatin1(serviceName))
{
    connect(m_bus.get(), &BusLink::disconnected, this, [this] {
        m_watcher.reset();
        onBusLost();
    });
    connect(m_bus.get(), &BusLink::connected, this, [this] {
        watch();
        onBusBack();
        report(Change::available);
    });
    watch();
}

BusPowerAssertion::~BusPowerAssertion() = default;

void BusPowerAssertion::watch()
{
    m_watcher.reset();
    if (!m_bus->isConnected())
        return;
    m_watcher = std::make_unique<QDBusServiceWatcher>(
        m_serviceName, m_bus->connection(), QDBusServiceWatcher::WatchForOwnerChange);
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](
            const QString&, const QString& oldOwner, const QString& newOwner) { onOwnerChanged(oldOwner, newOwner); });
}

bool BusPowerAssertion::startRequest(Done done)
{
    m_done = std::move(done);
    if (m_request % 2 == 1)
        return false;
    ++m_request;
    return true;
}

void BusPowerAssertion::finishRequest(bool held)
{
    ++m_request;
    if (Done done = std::exchange(m_done, nullptr))
        done(held);
}

void BusPowerAssertion::abandonRequest()
{
    if (m_request % 2 == 1) {
        ++m_request;
        m_done = nullptr;
    }
}

void BusPowerAssertion::report(Change change)
{
    if (m_onChange)
        m_onChange(change);
}

} // namespace tremlor
