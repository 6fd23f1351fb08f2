#pragma once

#include "Platform/Clock.h"

#include <chrono>
#include <mutex>

namespace tremlor::testing {

// A clock the test sets and advances; readable from any queue.
class FakeClock final : public Clock {
public:
    QDateTime now() const override
    {
        std::lock_guard guard(m_lock);
        return m_wall;
    }
    std::chrono::steady_clock::time_point monotonicNow() const override
    {
        std::lock_guard guard(m_lock);
        return m_monotonic;
    }
    void setNow(const QDateTime& wall)
    {
        std::lock_guard guard(m_lock);
        m_wall = wall;
    }
    // Moves both readings on.
    void advance(std::chrono::nanoseconds by)
    {
        std::lock_guard guard(m_lock);
        m_monotonic += std::chrono::duration_cast<std::chrono::steady_clock::duration>(by);
        if (m_wall.isValid())
            m_wall = m_wall.addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(by).count());
    }

private:
    mutable std::mutex m_lock;
    QDateTime m_wall = QDateTime::fromSecsSinceEpoch(1'700'000'000);
    std::chrono::steady_clock::time_point m_monotonic { std::chrono::hours(1000) };
};

} // namespace tremlor::testing
