#pragma once

#include <QDateTime>

#include <chrono>

namespace tremlor {

// "Now", injectable so schedule, idle and countdown logic can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock time in the local time zone.
    virtual QDateTime now() const = 0;
    // Monotonic time for elapsed intervals.
    virtual std::chrono::steady_clock::time_point monotonicNow() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    std::chrono::steady_clock::time_point monotonicNow() const override { return std::chrono::steady_clock::now(); }
    // One shared instance for production code.
    static const Clock& instance();
};

} // namespace tremlor
