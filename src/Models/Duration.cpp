#include "Models/Duration.h"

#include <QHashFunctions>

#include <algorithm>

namespace tremlor {

const std::array<Duration, 7>& Duration::allCases()
{
    static const std::array<Duration, 7> cases { minutes15(), minutes30(), hours1(), hours2(), hours4(), hours8(),
        indefinite() };
    return cases;
}

Duration Duration::resolve(const QString& id)
{
    for (const Duration& d : allCases()) {
        if (d.id() == id)
            return d;
    }
    // "Set as Default" stores custom durations as "custom_<n>": honour them, strictly.
    static const QString prefix = QStringLiteral("custom_");
    if (id.startsWith(prefix)) {
        const QStringView digits = QStringView(id).mid(prefix.size());
        const bool plain = !digits.isEmpty() && digits.size() <= 8 && digits.front() != u'0'
            && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (plain) {
            const std::int64_t n = digits.toLongLong();
            if (n >= 1 && n <= 10'000'000)
                return custom(n);
        }
    }
    return hours1();
}

QString Duration::id() const
{
    switch (m_kind) {
    case Kind::minutes15:
        return QStringLiteral("15m");
    case Kind::minutes30:
        return QStringLiteral("30m");
    case Kind::hours1:
        return QStringLiteral("1h");
    case Kind::hours2:
        return QStringLiteral("2h");
    case Kind::hours4:
        return QStringLiteral("4h");
    case Kind::hours8:
        return QStringLiteral("8h");
    case Kind::indefinite:
        return QStringLiteral("inf");
    case Kind::custom:
        return QStringLiteral("custom_") + QString::number(m_minutes);
    }
    return {};
}

QString Duration::displayLabel() const
{
    switch (m_kind) {
    case Kind::indefinite:
        return QStringLiteral("\u221E");
    case Kind::custom:
        return QString::number(m_minutes) + QStringLiteral("m");
    default:
        return id();
    }
}

QString Duration::accessibleLabel() const
{
    switch (m_kind) {
    case Kind::minutes15:
        return QStringLiteral("15 minutes");
    case Kind::minutes30:
        return QStringLiteral("30 minutes");
    case Kind::hours1:
        return QStringLiteral("1 hour");
    case Kind::hours2:
        return QStringLiteral("2 hours");
    case Kind::hours4:
        return QStringLiteral("4 hours");
    case Kind::hours8:
        return QStringLiteral("8 hours");
    case Kind::indefinite:
        return QStringLiteral("indefinite");
    case Kind::custom:
        return QString::number(m_minutes) + (m_minutes == 1 ? QStringLiteral(" minute") : QStringLiteral(" minutes"));
    }
    return {};
}

QString Duration::caseName() const
{
    switch (m_kind) {
    case Kind::minutes15:
        return QStringLiteral("minutes15");
    case Kind::minutes30:
        return QStringLiteral("minutes30");
    case Kind::hours1:
        return QStringLiteral("hours1");
    case Kind::hours2:
        return QStringLiteral("hours2");
    case Kind::hours4:
        return QStringLiteral("hours4");
    case Kind::hours8:
        return QStringLiteral("hours8");
    case Kind::indefinite:
        return QStringLiteral("indefinite");
    case Kind::custom:
        return QStringLiteral("custom");
    }
    return {};
}

OrderedJson Duration::toJson() const
{
    OrderedJson body = OrderedJson::object();
    if (m_kind == Kind::custom)
        body["minutes"] = m_minutes;
    OrderedJson object = OrderedJson::object();
    object[caseName().toStdString()] = std::move(body);
    return object;
}

Duration Duration::fromJson(const JsonDecoder& decoder)
{
    static constexpr std::array<const char*, 8> names { "minutes15", "minutes30", "hours1", "hours2", "hours4",
        "hours8", "indefinite", "custom" };
    decoder.requireObject();
    const Json& object = decoder.value();
    int found = -1;
    int count = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (object.contains(names[i])) {
            found = static_cast<int>(i);
            ++count;
        }
    }
    if (count != 1)
        decoder.fail(DecodingError::Kind::typeMismatch, QStringLiteral("Invalid number of keys found, expected one."));
    const JsonDecoder body = decoder.member(names[static_cast<std::size_t>(found)]);
    body.requireObject();
    const auto kind = static_cast<Kind>(found);
    if (kind == Kind::custom)
        return custom(body.member("minutes").integer());
    return Duration(kind);
}

std::size_t qHash(const Duration& duration, std::size_t seed) noexcept
{
    seed = ::qHash(static_cast<int>(duration.kind()), seed);
    if (duration.kind() == Duration::Kind::custom)
        seed = ::qHash(static_cast<qint64>(duration.customMinutes()), seed);
    return seed;
}

} // namespace tremlor
