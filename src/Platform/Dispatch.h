#pragma once

#include "Platform/ThreadHandoff.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

namespace tremlor::dispatch {

// Runs fn later on the thread of ctx, and only if ctx still exists by then. Posting is
// asynchronous even when the caller already is on that thread.
template <typename F> void async(QObject* ctx, F&& fn)
{
    QPointer<QObject> guard(ctx);
    handoff::release();
    QMetaObject::invokeMethod(
        ctx,
        [guard, fn = std::forward<F>(fn)]() mutable {
            handoff::acquire();
            if (guard)
                fn();
        },
        Qt::QueuedConnection);
}

// The object that stands for the main queue: the application object.
QObject* mainQueue();

// Posts fn to the main thread; it runs only if target is still alive then.
template <typename T, typename F> void toMain(const std::weak_ptr<T>& target, F&& fn)
{
    handoff::release();
    QMetaObject::invokeMethod(
        mainQueue(),
        [target, fn = std::forward<F>(fn)]() mutable {
            handoff::acquire();
            if (auto strong = target.lock())
                fn(*strong);
        },
        Qt::QueuedConnection);
}

template <typename T, typename F> void toMain(const QPointer<T>& target, F&& fn)
{
    handoff::release();
    QMetaObject::invokeMethod(
        mainQueue(),
        [target, fn = std::forward<F>(fn)]() mutable {
            handoff::acquire();
            if (target)
                fn(*target);
        },
        Qt::QueuedConnection);
}

class SerialQueue;

// A timer source on a serial queue: one-shot or repeating, exact (no leeway). Cancelling is
// safe from any thread; a handler already running finishes, none starts after cancel().
class TimerSource final : public std::enable_shared_from_this<TimerSource> {
public:
    using Handler = std::function<void()>;
    using Nanos = std::chrono::nanoseconds;

    ~TimerSource();
    void scheduleOnce(Nanos delay, Handler handler);
    void scheduleRepeating(Nanos initialDelay, Nanos interval, Handler handler);
    void cancel();
    bool isCancelled() const { return m_cancelled.load(); }

private:
    friend class SerialQueue;
    explicit TimerSource(SerialQueue& queue);
    void arm(Nanos delay, Nanos interval, Handler handler);

    SerialQueue& m_queue;
    std::atomic<bool> m_cancelled { false };
    std::atomic<quint64> m_generation { 0 };
};

// A serial queue: one thread running one task at a time, in order.
class SerialQueue final {
public:
    explicit SerialQueue(const QString& name);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> task);
    // Runs task on the queue and waits for it; runs it directly when called from the queue.
    void sync(const std::function<void()>& task);
    bool isCurrent() const;
    std::shared_ptr<TimerSource> makeTimer();
    QObject* context() const { return m_context; }

private:
    QThread* m_thread = nullptr;
    QObject* m_context = nullptr;
};

// Blocks the calling thread; never call on the main thread.
void sleepFor(std::chrono::microseconds duration);

} // namespace tremlor::dispatch
