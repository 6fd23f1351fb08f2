#pragma once

#include "Models/ScheduleEntry.h"

#include <QTime>
#include <QUuid>

#include <optional>

namespace tremlor::testing {

// An enabled entry for every day, from `fromMinutes` to `toMinutes` relative to now.
inline ScheduleEntry windowAroundNow(int fromMinutes, int toMinutes, std::optional<QUuid> profileId = std::nullopt)
{
    const QTime now = QTime::currentTime();
    const int minute = now.hour() * 60 + now.minute();
    const int start = ((minute + fromMinutes) % 1440 + 1440) % 1440;
    const int end = ((minute + toMinutes) % 1440 + 1440) % 1440;
    ScheduleEntry entry;
    entry.id = QUuid::createUuid();
    entry.isEnabled = true;
    entry.days = { weekday::allCases.begin(), weekday::allCases.end() };
    entry.startTime = DateComponents::time(start / 60, start % 60);
    entry.endTime = DateComponents::time(end / 60, end % 60);
    entry.profileId = profileId;
    return entry;
}

} // namespace tremlor::testing
