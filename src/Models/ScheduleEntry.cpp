#include "Models/ScheduleEntry.h"

#include <QHashFunctions>
#include <QLocale>

namespace tremlor {

namespace {

QString formatTime(const DateComponents& components, const Clock& clock)
{
    const QTime time = components.toTime().value_or(clock.now().time());
    // "h:mm a": Qt's "AP" gives the locale's upper-case marker.
    return QLocale().toString(time, QStringLiteral("h:mm AP"));
}

} // namespace

QString ScheduleEntry::timeRangeDescription(const Clock& clock) const
{
    return formatTime(startTime, clock) + QStringLiteral(" \u2013 ") + formatTime(endTime, clock);
}

QString ScheduleEntry::daysDescription() const
{
    using enum Weekday;
    if (days == std::set { monday, tuesday, wednesday, thursday, friday })
        return QStringLiteral("Weekdays");
    if (days == std::set { saturday, sunday })
        return QStringLiteral("Weekends");
    if (days.size() == 7)
        return QStringLiteral("Every day");
    QStringList names;
    for (const Weekday day : days)
        names.append(weekday::shortName(day));
    return names.join(QStringLiteral(", "));
}

OrderedJson ScheduleEntry::toJson() const
{
    OrderedJson object = OrderedJson::object();
    object["id"] = json::uuidText(id).toStdString();
    object["isEnabled"] = isEnabled;
    OrderedJson dayArray = OrderedJson::array();
    for (const Weekday day : days)
        dayArray.push_back(weekday::rawValue(day));
    object["days"] = std::move(dayArray);
    object["startTime"] = startTime.toJson();
    object["endTime"] = endTime.toJson();
    if (profileId)
        object["profileId"] = json::uuidText(*profileId).toStdString();
    return object;
}

ScheduleEntry ScheduleEntry::fromJson(const JsonDecoder& decoder)
{
    ScheduleEntry entry;
    entry.id = decoder.member("id").uuid();
    entry.isEnabled = decoder.member("isEnabled").boolean();
    decoder.member("days").forEachElement([&entry](const JsonDecoder& element) {
        const auto day = weekday::fromRawValue(element.integer());
        if (!day)
            element.fail(DecodingError::Kind::dataCorrupted,
                QStringLiteral("Cannot initialize Weekday from invalid Int value %1")
                    .arg(QString::fromStdString(element.value().dump())));
        entry.days.insert(*day);
    });
    entry.startTime = DateComponents::fromJson(decoder.member("startTime"));
    entry.endTime = DateComponents::fromJson(decoder.member("endTime"));
    if (const auto profile = decoder.optionalMember("profileId"))
        entry.profileId = profile->uuid();
    return entry;
}

OrderedJson ScheduleEntry::listToJson(const QList<ScheduleEntry>& entries)
{
    OrderedJson array = OrderedJson::array();
    for (const ScheduleEntry& entry : entries)
        array.push_back(entry.toJson());
    return array;
}

QList<ScheduleEntry> ScheduleEntry::listFromJson(const JsonDecoder& decoder)
{
    QList<ScheduleEntry> entries;
    entries.reserve(static_cast<qsizetype>(decoder.arraySize()));
    decoder.forEachElement([&entries](const JsonDecoder& element) { entries.append(fromJson(element)); });
    return entries;
}

std::optional<QByteArray> ScheduleEntry::encodeList(const QList<ScheduleEntry>& entries)
{
    return json::encode([&entries] { return listToJson(entries); });
}

DecodeResult<QList<ScheduleEntry>> ScheduleEntry::decodeList(const QByteArray& data)
{
    return json::decode<QList<ScheduleEntry>>(data, &ScheduleEntry::listFromJson);
}

std::size_t qHash(const ScheduleEntry& e, std::size_t seed) noexcept
{
    seed = ::qHash(e.id, seed);
    seed = ::qHash(e.isEnabled, seed);
    // The set is ordered, so the order in which days were added does not matter.
    for (const Weekday day : e.days)
        seed = ::qHash(static_cast<qint64>(weekday::rawValue(day)), seed);
    seed = ::qHash(e.days.size(), seed);
    seed = qHash(e.startTime, seed);
    seed = qHash(e.endTime, seed);
    seed = ::qHash(e.profileId.has_value(), seed);
    if (e.profileId)
        seed = ::qHash(*e.profileId, seed);
    return seed;
}

} // namespace tremlor
