#include "Engine/IdleDetector.h"

#include "Engine/DirazUvuraLogger.h"
#include "Engine/MouseMover.h"
#include "Engine/QueueTimers.h"
#include "Platform/Clock.h"
#include "Platform/Dispatch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tremlor {

namespace {

constexpr std::array nonMouseEventTypes { InputEventType::leftMouseDown, InputEventType::rightMouseDown,
    InputEventType::keyDown, InputEventType::scrollWheel, InputEventType::leftMouseDragged };

std::shared_ptr<const Clock> systemClock()
{
    return std::shared_ptr<const Clock>(&SystemClock::instance(), [](const Clock*) {});
}

} // namespace

SystemIdleMonitor::SystemIdleMonitor(std::shared_ptr<InputIdleSource> source, Seams seams)
    : m_source(std::move(source))
    , m_clock(seams.clock ? std::move(seams.clock) : systemClock())
    , m_timers(seams.timers ? std::move(seams.timers) : QueueTimers::system())
    , m_queue(std::make_unique<dispatch::SerialQueue>(QStringLiteral("com.tremlor.idlemonitor")))
{
    if (!m_source)
        throw std::invalid_argument("SystemIdleMonitor needs an input source");
}

SystemIdleMonitor::~SystemIdleMonitor()
{
    std::function<void()> cancel;
    {
        std::lock_guard guard(m_lock);
        ++m_generation;
        cancel = std::move(m_cancelTimer);
        m_cancelTimer = nullptr;
    }
    if (cancel)
        cancel();
    m_queue->shutdown();
}

bool SystemIdleMonitor::isUserIdle() const
{
    std::lock_guard guard(m_lock);
    return m_isUserIdle;
}

std::function<void(bool)> SystemIdleMonitor::onIdleStateChanged() const
{
    std::lock_guard guard(m_callbackLock);
    return m_onIdleStateChanged;
}

void SystemIdleMonitor::setOnIdleStateChanged(std::function<void(bool)> callback)
{
    std::lock_guard guard(m_callbackLock);
    m_onIdleStateChanged = std::move(callback);
}

void SystemIdleMonitor::startMonitoring(double idleThreshold)
{
    stopMonitoring();
    const QPointF position = m_source->cursorLocation();
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(m_lock);
        m_threshold = idleThreshold;
        m_isUserIdle = true;
        generation = ++m_generation;
    }
    // The per-run fields belong to the checks: reset them on the check queue, behind any check
    // of the previous run that is still under way.
    m_queue->async([this, position] {
        m_lastTrackedPosition = position;
        m_lastRealMouseMoveTime = distantPast;
        m_checkCount = 0;
    });
    DirazUvuraLogger::monitoringStarted(idleThreshold, position, MouseMover::lastSyntheticPosition());
    auto cancel = m_timers->arm(
        *m_queue, std::chrono::seconds(1), std::chrono::seconds(1), [this, generation] { checkIdleState(generation); });
    {
        std::lock_guard guard(m_lock);
        if (m_generation == generation) {
            m_cancelTimer = cancel;
            cancel = nullptr;
        }
    }
    if (cancel)
        cancel();
}

void SystemIdleMonitor::stopMonitoring()
{
    std::function<void()> cancel;
    {
        std::lock_guard report(m_callbackLock);
        std::lock_guard guard(m_lock);
        cancel = std::move(m_cancelTimer);
        m_cancelTimer = nullptr;
        // Reports of the run that ends here are dropped.
        ++m_generation;
    }
    if (!cancel)
        return;
    DirazUvuraLogger::stopMonitoring();
    cancel();
}

void SystemIdleMonitor::waitUntilIdle()
{
    // An empty task runs after all queued before it.
    m_queue->sync([] {});
}

void SystemIdleMonitor::checkIdleState(std::uint64_t generation)
{
    const auto now = m_clock->monotonicNow();
    ++m_checkCount;

    const QPointF pos = m_source->cursorLocation();
    const double moved
        = std::max(std::abs(pos.x() - m_lastTrackedPosition.x()), std::abs(pos.y() - m_lastTrackedPosition.y()));
    m_lastTrackedPosition = pos;
    const QPointF synth = MouseMover::lastSyntheticPosition();
    const bool posMoved = moved > 2.0;
    const bool farFromSynth = std::abs(pos.x() - synth.x()) > 5.0 || std::abs(pos.y() - synth.y()) > 5.0;
    const bool userMouse = posMoved && !MouseMover::isSyntheticMoving() && farFromSynth;
    if (userMouse)
        m_lastRealMouseMoveTime = now;
    const double mouseIdle = secondsBetween(m_lastRealMouseMoveTime, now);

    double kbHID = std::numeric_limits<double>::max();
    for (InputEventType type : nonMouseEventTypes) {
        const double seconds = m_source->secondsSinceLastEvent(type);
        if (!std::isnan(seconds))
            kbHID = std::min(kbHID, seconds);
    }
    const double synthNM = secondsBetween(MouseMover::lastSyntheticNonMouseTime(), now);
    const bool realKB = kbHID < synthNM - 1.0;
    const double eff = kbHID < mouseIdle && realKB ? kbHID : mouseIdle;

    bool idle = false;
    bool changed = false;
    double threshold = 0.0;
    {
        std::lock_guard guard(m_lock);
        // A check of an earlier run must not touch the new run's verdict.
        if (generation != m_generation)
            return;
        threshold = m_threshold;
        idle = threshold <= eff;
        changed = idle != m_isUserIdle;
        if (changed)
            m_isUserIdle = idle;
    }

    if (!changed && m_checkCount % 10 != 0 && !userMouse)
        return;
    DirazUvuraLogger::checkDetail(m_checkCount, pos, synth, posMoved, userMouse, mouseIdle, kbHID, synthNM, realKB, eff,
        threshold, idle, changed);
    if (!changed)
        return;
    DirazUvuraLogger::stateChange(idle);
    // The report is made under the callback lock, which a stop takes too: once stopMonitoring
    // has returned, no report of the run it ended can still be on its way.
    std::lock_guard report(m_callbackLock);
    {
        std::lock_guard guard(m_lock);
        if (generation != m_generation)
            return;
    }
    if (m_onIdleStateChanged)
        m_onIdleStateChanged(idle);
}

} // namespace tremlor
