#include "Engine/TickSource.h"

#include <QTimer>

namespace tremlor {

namespace {

class TimerSubscription final : public TickSubscription {
public:
    explicit TimerSubscription(std::function<void()> onFire)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1000);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onFire));
        m_timer.start();
    }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<TickSubscription> OneSecondTickSource::subscribe(std::function<void()> onFire)
{
    return std::make_unique<TimerSubscription>(std::move(onFire));
}

class ManualTickSource::Subscription final : public TickSubscription {
public:
    explicit Subscription(std::shared_ptr<Entry> entry)
        : m_entry(std::move(entry))
    {
    }
    ~Subscription() override { m_entry->alive = false; }

private:
    std::shared_ptr<Entry> m_entry;
};

std::unique_ptr<TickSubscription> ManualTickSource::subscribe(std::function<void()> onFire)
{
    auto entry = std::make_shared<Entry>();
    entry->onFire = std::move(onFire);
    std::erase_if(m_entries, [](const std::weak_ptr<Entry>& e) { return e.expired(); });
    m_entries.push_back(entry);
    return std::make_unique<Subscription>(std::move(entry));
}

void ManualTickSource::fire()
{
    const auto entries = m_entries; // handlers may subscribe or unsubscribe
    for (const auto& weak : entries) {
        if (auto entry = weak.lock(); entry && entry->alive)
            entry->onFire();
    }
}

int ManualTickSource::activeCount() const
{
    int count = 0;
    for (const auto& weak : m_entries) {
        if (auto entry = weak.lock(); entry && entry->alive)
            ++count;
    }
    return count;
}

} // namespace tremlor
