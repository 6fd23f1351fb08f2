#pragma once

#include "Platform/Json.h"

#include <QTime>

#include <cstdint>
#include <optional>

namespace tremlor {

// A time of day as the calendar's date components: only hour and minute are kept; a component
// that is not set counts as 0 wherever it is used. Values are kept as given (no range check).
struct DateComponents {
    std::optional<std::int64_t> hour;
    std::optional<std::int64_t> minute;

    static DateComponents time(std::int64_t h, std::int64_t m) { return { h, m }; }

    std::int64_t hourOrZero() const { return hour.value_or(0); }
    std::int64_t minuteOrZero() const { return minute.value_or(0); }
    // The time of day, or nullopt when the components name no valid time.
    std::optional<QTime> toTime() const;

    // Set components only: {"hour":9,"minute":0}.
    OrderedJson toJson() const;
    // An object; "hour" and "minute" are optional integers, other members are ignored.
    static DateComponents fromJson(const JsonDecoder& decoder);

    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

std::size_t qHash(const DateComponents& components, std::size_t seed = 0) noexcept;

} // namespace tremlor
