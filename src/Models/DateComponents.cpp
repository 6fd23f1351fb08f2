#include "Models/DateComponents.h"

#include <QHashFunctions>

namespace tremlor {

std::optional<QTime> DateComponents::toTime() const
{
    const std::int64_t h = hourOrZero();
    const std::int64_t m = minuteOrZero();
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return std::nullopt;
    return QTime(static_cast<int>(h), static_cast<int>(m));
}

OrderedJson DateComponents::toJson() const
{
    OrderedJson object = OrderedJson::object();
    if (hour)
        object["hour"] = *hour;
    if (minute)
        object["minute"] = *minute;
    return object;
}

DateComponents DateComponents::fromJson(const JsonDecoder& decoder)
{
    DateComponents components;
    if (const auto h = decoder.optionalMember("hour"))
        components.hour = h->integer();
    if (const auto m = decoder.optionalMember("minute"))
        components.minute = m->integer();
    return components;
}

std::size_t qHash(const DateComponents& c, std::size_t seed) noexcept
{
    seed = ::qHash(c.hour.has_value(), seed);
    seed = ::qHash(static_cast<qint64>(c.hour.value_or(0)), seed);
    seed = ::qHash(c.minute.has_value(), seed);
    return ::qHash(static_cast<qint64>(c.minute.value_or(0)), seed);
}

} // namespace tremlor
