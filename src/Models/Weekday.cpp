#include "Models/Weekday.h"

namespace tremlor::weekday {

QString shortName(Weekday day)
{
    static const std::array<const char*, 7> names { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    return QString::fromLatin1(names[static_cast<std::size_t>(rawValue(day) - 1)]);
}

Weekday of(const QDate& date)
{
    return static_cast<Weekday>(date.dayOfWeek() % 7 + 1);
}

} // namespace tremlor::weekday
