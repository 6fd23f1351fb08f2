#pragma once

#include "Platform/InputIdleSource.h"

#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace tremlor::x11 {

// Listens to XInput2 raw events of every input device on a thread with its own connection and
// records when each event type was last seen (monotonic). Without XInput2 2.1 it records nothing.
class X11InputListener final {
public:
    explicit X11InputListener(const QString& displayName = {});
    ~X11InputListener();
    X11InputListener(const X11InputListener&) = delete;
    X11InputListener& operator=(const X11InputListener&) = delete;

    // The display offers XInput2 2.1 and the listener thread runs.
    bool isListening() const { return m_listening.load(); }
    // Seconds from the last event of the type to `now`; very large when never seen.
    double secondsSinceLastEvent(InputEventType type, std::chrono::steady_clock::time_point now) const;
    // Number of raw events seen so far (tests wait on it).
    std::uint64_t eventCount() const { return m_eventCount.load(); }

private:
    static constexpr std::size_t typeCount = 6;
    static constexpr std::int64_t never = INT64_MIN;

    void run(void* display, int opcode);
    void record(InputEventType type, std::int64_t nanos);

    std::array<std::atomic<std::int64_t>, typeCount> m_lastSeen;
    std::atomic<std::uint64_t> m_eventCount { 0 };
    std::atomic<bool> m_listening { false };
    int m_wakeFd = -1;
    std::thread m_thread;
};

} // namespace tremlor::x11
