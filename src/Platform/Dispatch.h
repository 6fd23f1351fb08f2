#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace tremlor::dispatch {

// The object that stands for the main queue: the application object (none in a tool without
// one; then posts to the main queue are dropped).
QObject* mainQueue();

// Runs task later on the main thread. Tasks pass through a locked list of their own (only a
// wake-up goes through Qt's event queue), so a thread checker sees each hand-over.
void postToMain(std::function<void()> task);
// Runs task later on the thread of ctx: through the main list when that is the main thread.
void postTo(QObject* ctx, std::function<void()> task);

// Runs fn later on the thread of ctx, and only if ctx still exists by then. Posting is
// asynchronous even when the caller already is on that thread.
template <typename F> void async(QObject* ctx, F&& fn)
{
    if (!ctx)
        return;
    QPointer<QObject> guard(ctx);
    postTo(ctx, [guard, fn = std::forward<F>(fn)]() mutable {
        if (guard)
            fn();
    });
}

// Posts fn to the main thread; it runs only if target is still alive then.
template <typename T, typename F> void toMain(const std::weak_ptr<T>& target, F&& fn)
{
    postToMain([target, fn = std::forward<F>(fn)]() mutable {
        if (auto strong = target.lock())
            fn(*strong);
    });
}

template <typename T, typename F> void toMain(const QPointer<T>& target, F&& fn)
{
    postToMain([target, fn = std::forward<F>(fn)]() mutable {
        if (target)
            fn(*target);
    });
}

class SerialQueue;
struct QueueState;

// A timer source on a serial queue: one-shot or repeating, exact (no leeway). Cancelling is
// safe from any thread and frees the handler at once; a handler already running finishes.
class TimerSource final {
public:
    using Handler = std::function<void()>;
    using Nanos = std::chrono::nanoseconds;

    ~TimerSource();
    TimerSource(const TimerSource&) = delete;
    TimerSource& operator=(const TimerSource&) = delete;
    void scheduleOnce(Nanos delay, Handler handler);
    void scheduleRepeating(Nanos initialDelay, Nanos interval, Handler handler);
    void cancel();

private:
    friend class SerialQueue;
    explicit TimerSource(std::shared_ptr<QueueState> state);
    void arm(Nanos delay, Nanos interval, Handler handler);

    std::shared_ptr<QueueState> m_state;
};

// A serial queue: one thread of its own running one task at a time, in order. It needs no
// event loop, so it works the same at quit and in tools without an application object.
class SerialQueue final {
public:
    explicit SerialQueue(const QString& name);
    // Same as shutdown().
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Dropped once the queue has shut down.
    void async(std::function<void()> task);
    // Runs task on the queue and waits for it; runs it directly when called from the queue.
    // Returns at once, running nothing, once the queue has shut down.
    void sync(const std::function<void()>& task);
    bool isCurrent() const;
    std::shared_ptr<TimerSource> makeTimer();

    // Runs the tasks already queued, then refuses work, drops every timer and ends the
    // thread. Waits only for the queue's own tasks; not from a task of the queue itself.
    void shutdown();
    // Timers armed and not yet fired or cancelled (tests).
    std::size_t armedTimerCount() const;

private:
    std::shared_ptr<QueueState> m_state;
    std::thread m_thread;
};

// Blocks the calling thread; never call on the main thread.
void sleepFor(std::chrono::microseconds duration);

} // namespace tremlor::dispatch
