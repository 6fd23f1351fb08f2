#pragma once

#include "Platform/Json.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace tremlor {

// The length of a session: a fixed length, no end, or a custom number of minutes.
class Duration {
public:
    enum class Kind { minutes15, minutes30, hours1, hours2, hours4, hours8, indefinite, custom };

    constexpr Duration() = default;
    static constexpr Duration minutes15() { return Duration(Kind::minutes15); }
    static constexpr Duration minutes30() { return Duration(Kind::minutes30); }
    static constexpr Duration hours1() { return Duration(Kind::hours1); }
    static constexpr Duration hours2() { return Duration(Kind::hours2); }
    static constexpr Duration hours4() { return Duration(Kind::hours4); }
    static constexpr Duration hours8() { return Duration(Kind::hours8); }
    static constexpr Duration indefinite() { return Duration(Kind::indefinite); }
    static constexpr Duration custom(std::int64_t minutes) { return Duration(Kind::custom, minutes); }

    // The seven fixed cases, in order; never a custom value.
    static const std::array<Duration, 7>& allCases();

    // Resolves a stored id: the first fixed case with that id, else "custom_<n>" for a plain
    // decimal n from 1 to 10,000,000, else one hour.
    static Duration resolve(const QString& id);

    constexpr Kind kind() const { return m_kind; }
    // Minutes of a custom value; 0 for the fixed cases.
    constexpr std::int64_t customMinutes() const { return m_minutes; }

    QString id() const;
    QString displayLabel() const;
    QString accessibleLabel() const;
    // The JSON key naming the case ("hours1", "custom", ...).
    QString caseName() const;

    // {"hours1":{}} or {"custom":{"minutes":45}}.
    OrderedJson toJson() const;
    // Exactly one case name must be present; other keys are ignored. Throws DecodingError.
    static Duration fromJson(const JsonDecoder& decoder);

    friend constexpr bool operator==(const Duration& a, const Duration& b)
    {
        return a.m_kind == b.m_kind && (a.m_kind != Kind::custom || a.m_minutes == b.m_minutes);
    }

private:
    constexpr explicit Duration(Kind kind, std::int64_t minutes = 0)
        : m_kind(kind)
        , m_minutes(kind == Kind::custom ? minutes : 0)
    {
    }

    Kind m_kind = Kind::hours1;
    std::int64_t m_minutes = 0;
};

std::size_t qHash(const Duration& duration, std::size_t seed = 0) noexcept;

} // namespace tremlor

template <> struct std::hash<tremlor::Duration> {
    std::size_t operator()(const tremlor::Duration& d) const noexcept { return tremlor::qHash(d); }
};
