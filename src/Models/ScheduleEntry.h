#pragma once

#include "Models/DateComponents.h"
#include "Models/Weekday.h"
#include "Platform/Clock.h"
#include "Platform/Json.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>
#include <set>

namespace tremlor {

// One weekly window: on the chosen days, from startTime to endTime (the end minute itself is
// outside), optionally applying a profile when it opens.
struct ScheduleEntry {
    QUuid id;
    bool isEnabled = true;
    std::set<Weekday> days;
    DateComponents startTime;
    DateComponents endTime;
    std::optional<QUuid> profileId;

    // "9:00 AM – 5:00 PM" in the current locale; a time that names no valid moment shows now.
    QString timeRangeDescription(const Clock& clock = SystemClock::instance()) const;
    // "Weekdays", "Weekends", "Every day", or the short names from Sunday joined by ", ".
    QString daysDescription() const;

    // Throws EncodingError.
    OrderedJson toJson() const;
    // "profileId" may be missing or null; days must be 1 to 7 (repeats count once). Throws DecodingError.
    static ScheduleEntry fromJson(const JsonDecoder& decoder);

    static std::optional<QByteArray> encodeList(const QList<ScheduleEntry>& entries);
    static DecodeResult<QList<ScheduleEntry>> decodeList(const QByteArray& data);
    static OrderedJson listToJson(const QList<ScheduleEntry>& entries);
    static QList<ScheduleEntry> listFromJson(const JsonDecoder& decoder);

    friend bool operator==(const ScheduleEntry&, const ScheduleEntry&) = default;
};

std::size_t qHash(const ScheduleEntry& entry, std::size_t seed = 0) noexcept;

} // namespace tremlor

template <> struct std::hash<tremlor::ScheduleEntry> {
    std::size_t operator()(const tremlor::ScheduleEntry& e) const noexcept { return tremlor::qHash(e); }
};
