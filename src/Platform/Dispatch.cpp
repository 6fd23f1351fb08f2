#include "Platform/Dispatch.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <future>
#include <mutex>
#include <limits>
#include <thread>

namespace tremlor::dispatch {

QObject* mainQueue()
{
    return QCoreApplication::instance();
}

// The queue's object on its thread. Tasks go through a locked list rather than inside posted
// events, so the hand-over is one that ThreadSanitizer can see; each post only wakes it up.
class QueueContext final : public QObject
{
    Q_OBJECT
public:
    void push(std::function<void()> task)
    {
        {
            std::lock_guard guard(m_lock);
            m_tasks.push_back(std::move(task));
        }
        QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
    }

    Q_INVOKABLE void drain()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard guard(m_lock);
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
        }
    }

private:
    std::mutex m_lock;
    std::deque<std::function<void()>> m_tasks;
};

SerialQueue::SerialQueue(const QString& name)
    : m_thread(new QThread)
    , m_context(new QueueContext)
{
    m_thread->setObjectName(name);
    m_context->moveToThread(m_thread);
    m_thread->start();
}

SerialQueue::~SerialQueue()
{
    // Tasks already queued run first; the context (with its timers) is deleted on its own
    // thread as that thread finishes.
    async([ctx = m_context, thread = m_thread] {
        ctx->deleteLater();
        thread->quit();
    });
    m_thread->wait();
    delete m_thread;
}

void SerialQueue::async(std::function<void()> task)
{
    static_cast<QueueContext*>(m_context)->push(std::move(task));
}

void SerialQueue::sync(const std::function<void()>& task)
{
    if (isCurrent()) {
        task();
        return;
    }
    std::promise<void> done;
    async([&task, &done] {
        task();
        done.set_value();
    });
    done.get_future().wait();
}

bool SerialQueue::isCurrent() const
{
    return QThread::currentThread() == m_thread;
}

std::shared_ptr<TimerSource> SerialQueue::makeTimer()
{
    return std::shared_ptr<TimerSource>(new TimerSource(*this));
}

TimerSource::TimerSource(SerialQueue& queue)
    : m_queue(queue)
{
}

TimerSource::~TimerSource() = default;

void TimerSource::scheduleOnce(Nanos delay, Handler handler)
{
    arm(delay, Nanos::zero(), std::move(handler));
}

void TimerSource::scheduleRepeating(Nanos initialDelay, Nanos interval, Handler handler)
{
    arm(initialDelay, interval, std::move(handler));
}

void TimerSource::cancel()
{
    m_cancelled = true;
    ++m_generation;
}

void TimerSource::arm(Nanos delay, Nanos interval, Handler handler)
{
    m_cancelled = false;
    const quint64 generation = ++m_generation;
    std::weak_ptr<TimerSource> weak = weak_from_this();
    m_queue.async([weak, generation, delay, interval, handler = std::move(handler), ctx = m_queue.context()] {
        auto* timer = new QTimer(ctx);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setSingleShot(interval == Nanos::zero());
        const auto toMs = [](Nanos n) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(n).count();
            return static_cast<int>(std::clamp<long long>(ms, 0, std::numeric_limits<int>::max()));
        };
        const bool repeating = interval != Nanos::zero();
        const int repeatMs = toMs(interval);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, weak, generation, handler, repeating, repeatMs] {
            auto self = weak.lock();
            if (!self || self->m_cancelled || self->m_generation != generation) {
                timer->deleteLater();
                return;
            }
            if (repeating) {
                if (timer->interval() != repeatMs)
                    timer->start(repeatMs);
            } else {
                timer->deleteLater();
            }
            handoff::acquire();
            handler();
        });
        timer->start(toMs(delay));
    });
}

void sleepFor(std::chrono::microseconds duration)
{
    if (duration > std::chrono::microseconds::zero())
        std::this_thread::sleep_for(duration);
}

} // namespace tremlor::dispatch

#include "Dispatch.moc"
