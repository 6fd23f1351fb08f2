#include "Platform/Dispatch.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <pthread.h>
#include <vector>

namespace tremlor::dispatch {

QObject* mainQueue()
{
    return QCoreApplication::instance();
}

namespace {

// The main thread's list of posted tasks. Every post wakes it with a queued call by name,
// which carries no data of ours through Qt. Waking only when the list was empty would leave a
// task waiting on whichever thread filled the list first until that thread gets to post its
// wake, however long it is kept off the processor.
class MainMailbox final : public QObject {
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
        std::deque<std::function<void()>> tasks;
        {
            std::lock_guard guard(m_lock);
            tasks.swap(m_tasks);
        }
        for (auto& task : tasks)
            task();
    }

private:
    std::mutex m_lock;
    std::deque<std::function<void()>> m_tasks;
};

// Made on the main thread as the application object is built, so that thread owns it.
std::atomic<MainMailbox*> mailbox { nullptr };

void makeMainMailbox()
{
    if (!mailbox.load())
        mailbox.store(new MainMailbox);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(makeMainMailbox)

void postToMain(std::function<void()> task)
{
    if (auto* box = mailbox.load(); box && QCoreApplication::instance())
        box->push(std::move(task));
}

void postTo(QObject* ctx, std::function<void()> task)
{
    if (!ctx)
        return;
    if (QCoreApplication::instance() && ctx->thread() == QCoreApplication::instance()->thread())
        postToMain(std::move(task));
    else
        QMetaObject::invokeMethod(ctx, std::move(task), Qt::QueuedConnection);
}

using SteadyClock = std::chrono::steady_clock;

// Everything the queue's thread, its owner and its timers share; plain standard locks, so a
// thread checker sees every hand-over.
struct QueueState {
    struct Timer {
        const TimerSource* owner = nullptr;
        std::chrono::nanoseconds interval { 0 };
        std::shared_ptr<std::function<void()>> handler;
    };

    mutable std::mutex lock;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    std::multimap<SteadyClock::time_point, Timer> timers;
    bool closed = false;
    std::thread::id thread;

    // Takes the owner's timers out; the caller destroys them outside the lock, since a
    // handler's captures may reach back into the queue.
    std::vector<Timer> takeTimers(const TimerSource* owner)
    {
        std::vector<Timer> taken;
        for (auto it = timers.begin(); it != timers.end();) {
            if (it->second.owner == owner) {
                taken.push_back(std::move(it->second));
                it = timers.erase(it);
            } else {
                ++it;
            }
        }
        return taken;
    }

    bool post(std::function<void()>& task)
    {
        {
            std::lock_guard guard(lock);
            if (closed)
                return false;
            tasks.push_back(std::move(task));
        }
        wake.notify_one();
        return true;
    }

    void run()
    {
        std::unique_lock guard(lock);
        for (;;) {
            if (!tasks.empty()) {
                auto task = std::move(tasks.front());
                tasks.pop_front();
                guard.unlock();
                task();
                task = nullptr;
                guard.lock();
                continue;
            }
            if (closed)
                return;
            if (timers.empty()) {
                wake.wait(guard);
                continue;
            }
            const auto first = timers.begin();
            const auto deadline = first->first;
            if (SteadyClock::now() < deadline) {
                wake.wait_until(guard, deadline);
                continue;
            }
            Timer timer = std::move(first->second);
            timers.erase(first);
            auto handler = timer.handler;
            if (timer.interval > std::chrono::nanoseconds::zero()) {
                // A late firing does not bring a burst of catch-up firings.
                const auto next = std::max(deadline + timer.interval, SteadyClock::now());
                timers.emplace(next, std::move(timer));
            }
            guard.unlock();
            (*handler)();
            handler.reset();
            guard.lock();
        }
    }
};

SerialQueue::SerialQueue(const QString& name)
    : m_state(std::make_shared<QueueState>())
{
    std::lock_guard guard(m_state->lock);
    m_thread = std::thread([state = m_state] { state->run(); });
    m_state->thread = m_thread.get_id();
    pthread_setname_np(m_thread.native_handle(), name.left(15).toUtf8().constData());
}

SerialQueue::~SerialQueue()
{
    shutdown();
}

void SerialQueue::shutdown()
{
    std::multimap<SteadyClock::time_point, QueueState::Timer> dropped;
    {
        std::lock_guard guard(m_state->lock);
        m_state->closed = true;
        dropped.swap(m_state->timers);
    }
    m_state->wake.notify_one();
    dropped.clear();
    if (!m_thread.joinable())
        return;
    // From a task of its own the queue cannot wait for itself; the thread keeps the state.
    if (isCurrent())
        m_thread.detach();
    else
        m_thread.join();
}

void SerialQueue::async(std::function<void()> task)
{
    m_state->post(task);
}

void SerialQueue::sync(const std::function<void()>& task)
{
    if (isCurrent()) {
        task();
        return;
    }
    std::promise<void> done;
    std::function<void()> job = [&task, &done] {
        task();
        done.set_value();
    };
    if (m_state->post(job))
        done.get_future().wait();
}

bool SerialQueue::isCurrent() const
{
    std::lock_guard guard(m_state->lock);
    return std::this_thread::get_id() == m_state->thread;
}

std::shared_ptr<TimerSource> SerialQueue::makeTimer()
{
    return std::shared_ptr<TimerSource>(new TimerSource(m_state));
}

std::size_t SerialQueue::armedTimerCount() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->timers.size();
}

TimerSource::TimerSource(std::shared_ptr<QueueState> state)
    : m_state(std::move(state))
{
}

TimerSource::~TimerSource()
{
    cancel();
}

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
    std::vector<QueueState::Timer> taken;
    std::lock_guard guard(m_state->lock);
    taken = m_state->takeTimers(this);
    // taken is destroyed after the guard: declared first.
}

void TimerSource::arm(Nanos delay, Nanos interval, Handler handler)
{
    const auto deadline = SteadyClock::now() + std::max(delay, Nanos::zero());
    std::vector<QueueState::Timer> taken;
    {
        std::lock_guard guard(m_state->lock);
        taken = m_state->takeTimers(this);
        if (m_state->closed)
            return;
        QueueState::Timer timer;
        timer.owner = this;
        timer.interval = std::max(interval, Nanos::zero());
        timer.handler = std::make_shared<Handler>(std::move(handler));
        m_state->timers.emplace(deadline, std::move(timer));
    }
    m_state->wake.notify_one();
}

void sleepFor(std::chrono::microseconds duration)
{
    if (duration > std::chrono::microseconds::zero())
        std::this_thread::sleep_for(duration);
}

} // namespace tremlor::dispatch

#include "Dispatch.moc"
