#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace tremlor {

// A live series of firings; destroying it ends the series.
class TickSubscription {
public:
    virtual ~TickSubscription() = default;
};

// The once-a-second firings of the countdown, on the main thread. Injectable so tests fire by
// hand instead of waiting.
class TickSource {
public:
    virtual ~TickSource() = default;
    // Starts firings; the first comes one interval after this call.
    virtual std::unique_ptr<TickSubscription> subscribe(std::function<void()> onFire) = 0;
};

// Fires every second on the main thread's event loop with a precise timer.
class OneSecondTickSource final : public TickSource {
public:
    std::unique_ptr<TickSubscription> subscribe(std::function<void()> onFire) override;
};

// Fires only when told to: for tests.
class ManualTickSource final : public TickSource {
public:
    std::unique_ptr<TickSubscription> subscribe(std::function<void()> onFire) override;
    // One firing of every live subscription (a subscription ended by a handler is skipped).
    void fire();
    // Number of live subscriptions.
    int activeCount() const;

private:
    struct Entry {
        std::function<void()> onFire;
        bool alive = true;
    };
    class Subscription;
    std::vector<std::weak_ptr<Entry>> m_entries;
};

} // namespace tremlor
