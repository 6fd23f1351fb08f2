#pragma once

#include "Engine/AppActivating.h"
#include "Models/AppInfo.h"
#include "Models/Enumerations.h"
#include "Platform/Random.h"

#include <QFuture>

#include <memory>
#include <optional>
#include <vector>

namespace tremlor::dispatch {
class SerialQueue;
}

namespace tremlor {

// Picks the next application of the rotation, brings it forward when it runs, launches it when
// it does not and launching is allowed. Call from the main thread: the choice (and the sequential
// rotation index) is made there before the call returns; the running check, activation and
// launch run on a queue of their own, so the main thread never waits for them.
class AppActivator final {
public:
    explicit AppActivator(std::shared_ptr<AppActivating> activator, RandomSource& random = SystemRandom::instance());
    ~AppActivator();
    AppActivator(const AppActivator&) = delete;
    AppActivator& operator=(const AppActivator&) = delete;

    // The application brought forward or launched (even when the launch failed); nothing when
    // apps is empty or the chosen one is not running and may not be launched. It finishes on the
    // activator's queue: get back to the main thread with dispatch::toMain and a weak reference.
    QFuture<std::optional<AppInfo>> activateNext(
        const std::vector<AppInfo>& apps, RotationMode mode, bool launchIfNotRunning);
    // The next sequential call starts with the first application again.
    void reset();
    // While held, a call already made waits before it looks at, raises or launches anything (the
    // window would take the keyboard from the panel), and goes on when the hold ends. Any thread.
    void setHeld(bool held);
    // Calls waiting for the hold to end are dropped: they bring nothing forward.
    void cancelWaiting();

    // The index the next sequential call starts from (for tests and diagnostics).
    int rotationIndex() const { return m_rotationIndex; }

private:
    struct Hold;

    std::shared_ptr<AppActivating> m_activator;
    std::shared_ptr<Hold> m_hold;
    int m_rotationIndex = 0;
    RandomSource& m_random;
    std::unique_ptr<dispatch::SerialQueue> m_queue;
};

} // namespace tremlor
