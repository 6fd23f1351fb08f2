#include "Engine/AppActivator.h"

#include "Platform/Dispatch.h"

#include <QPromise>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace tremlor {

struct AppActivator::Hold {
    std::mutex lock;
    std::condition_variable changed;
    bool held = false;
    // Bumped by cancelWaiting(): a call made before waits no more and does nothing.
    std::uint64_t generation = 0;

    // On the activator's queue: whether the call made in `since` may go on.
    bool waitForRelease(std::uint64_t since)
    {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return !held || generation != since; });
        return generation == since;
    }
};

AppActivator::AppActivator(std::shared_ptr<AppActivating> activator, RandomSource& random)
    : m_activator(std::move(activator))
    , m_hold(std::make_shared<Hold>())
    , m_random(random)
    , m_queue(std::make_unique<dispatch::SerialQueue>(QStringLiteral("com.tremlor.app.activator")))
{
}

AppActivator::~AppActivator()
{
    // The queue finishes its calls as it goes: none may wait for a release that never comes.
    cancelWaiting();
}

QFuture<std::optional<AppInfo>> AppActivator::activateNext(
    const std::vector<AppInfo>& apps, RotationMode mode, bool launchIfNotRunning)
{
    if (apps.empty()) {
        // Copied rather than moved: moving an empty optional makes GCC's uninitialised-use
        // check, under ThreadSanitizer, warn about the application it does not hold.
        const std::optional<AppInfo> none;
        return QtFuture::makeReadyFuture(none);
    }

    // The choice is made here, on the caller's thread, before anything is awaited: overlapping
    // calls each advance the rotation by exactly one.
    const auto count = static_cast<std::int64_t>(apps.size());
    std::int64_t index = 0;
    if (mode == RotationMode::random) {
        index = m_random.uniformInt(0, count - 1);
        if (index < 0 || index >= count)
            index = 0;
    } else {
        index = m_rotationIndex % count;
        m_rotationIndex = static_cast<int>((m_rotationIndex + 1) % count);
    }
    const AppInfo chosen = apps[static_cast<std::size_t>(index)];

    auto promise = std::make_shared<QPromise<std::optional<AppInfo>>>();
    QFuture<std::optional<AppInfo>> future = promise->future();
    promise->start();
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(m_hold->lock);
        generation = m_hold->generation;
    }
    m_queue->async([activator = m_activator, hold = m_hold, generation, chosen, launchIfNotRunning, promise] {
        std::optional<AppInfo> result;
        // A call dropped while it waited brings nothing forward and names nothing.
        const bool goOn = hold->waitForRelease(generation);
        if (goOn && activator->isAppRunning(chosen.bundleIdentifier())) {
            activator->activateApp(chosen.bundleIdentifier());
            result = chosen;
        } else if (goOn && launchIfNotRunning) {
            // The launch's outcome does not matter: the chosen application is named either way.
            QFuture<bool> launched = activator->launchApp(QUrl::fromLocalFile(chosen.path()));
            launched.waitForFinished();
            result = chosen;
        }
        promise->addResult(result);
        promise->finish();
    });
    return future;
}

void AppActivator::reset()
{
    m_rotationIndex = 0;
}

void AppActivator::setHeld(bool held)
{
    {
        std::lock_guard guard(m_hold->lock);
        m_hold->held = held;
    }
    m_hold->changed.notify_all();
}

void AppActivator::cancelWaiting()
{
    {
        std::lock_guard guard(m_hold->lock);
        ++m_hold->generation;
    }
    m_hold->changed.notify_all();
}

} // namespace tremlor
