#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace tremlor {

// Days numbered as the calendar's weekday component: Sunday 1 to Saturday 7, ordered by number.
enum class Weekday : std::int64_t { sunday = 1, monday, tuesday, wednesday, thursday, friday, saturday };

namespace weekday {

inline constexpr std::array<Weekday, 7> allCases { Weekday::sunday, Weekday::monday, Weekday::tuesday,
    Weekday::wednesday, Weekday::thursday, Weekday::friday, Weekday::saturday };

constexpr std::int64_t rawValue(Weekday day)
{
    return static_cast<std::int64_t>(day);
}

// 1 to 7 give a day; any other number gives none.
constexpr std::optional<Weekday> fromRawValue(std::int64_t raw)
{
    if (raw < 1 || raw > 7)
        return std::nullopt;
    return static_cast<Weekday>(raw);
}

// "Sun" ... "Sat", fixed English whatever the user's language.
QString shortName(Weekday day);

// The day of a date (QDate counts Monday 1 ... Sunday 7).
Weekday of(const QDate& date);

} // namespace weekday
} // namespace tremlor
