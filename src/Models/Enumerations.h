#pragma once

#include "Platform/Json.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tremlor {

enum class MovementPattern { bounce, drift, circle, natural };
enum class RotationMode { sequential, random };
enum class MenuBarDisplayMode { iconOnly, iconAndCountdown, iconAndAppName };
enum class SettingsSection { general, mouse, apps, timer, profiles, schedule, advanced, about };

// Raw values are the case names; construction from a raw string is exact and case-sensitive.
template <typename E> struct EnumTraits;

template <> struct EnumTraits<MovementPattern> {
    static constexpr const char* typeName = "MovementPattern";
    static constexpr bool jsonCoded = true;
    static constexpr std::array allCases { MovementPattern::bounce, MovementPattern::drift, MovementPattern::circle,
        MovementPattern::natural };
    static constexpr std::array<const char*, 4> names { "bounce", "drift", "circle", "natural" };
};

template <> struct EnumTraits<RotationMode> {
    static constexpr const char* typeName = "RotationMode";
    static constexpr bool jsonCoded = true;
    static constexpr std::array allCases { RotationMode::sequential, RotationMode::random };
    static constexpr std::array<const char*, 2> names { "sequential", "random" };
};

template <> struct EnumTraits<MenuBarDisplayMode> {
    static constexpr const char* typeName = "MenuBarDisplayMode";
    static constexpr bool jsonCoded = true;
    static constexpr std::array allCases { MenuBarDisplayMode::iconOnly, MenuBarDisplayMode::iconAndCountdown,
        MenuBarDisplayMode::iconAndAppName };
    static constexpr std::array<const char*, 3> names { "iconOnly", "iconAndCountdown", "iconAndAppName" };
};

template <> struct EnumTraits<SettingsSection> {
    static constexpr const char* typeName = "SettingsSection";
    static constexpr bool jsonCoded = false;
    static constexpr std::array allCases { SettingsSection::general, SettingsSection::mouse, SettingsSection::apps,
        SettingsSection::timer, SettingsSection::profiles, SettingsSection::schedule, SettingsSection::advanced,
        SettingsSection::about };
    static constexpr std::array<const char*, 8> names { "general", "mouse", "apps", "timer", "profiles", "schedule",
        "advanced", "about" };
};

template <typename E> constexpr auto allCases()
{
    return EnumTraits<E>::allCases;
}

template <typename E> QString rawValue(E value)
{
    return QString::fromLatin1(EnumTraits<E>::names[static_cast<std::size_t>(value)]);
}

template <typename E> std::optional<E> fromRawValue(const QString& raw)
{
    for (E value : EnumTraits<E>::allCases) {
        if (raw == QLatin1String(EnumTraits<E>::names[static_cast<std::size_t>(value)]))
            return value;
    }
    return std::nullopt;
}

// JSON coding of the stored enumerations: the raw value as a string.
template <typename E> OrderedJson enumToJson(E value)
{
    static_assert(EnumTraits<E>::jsonCoded);
    return EnumTraits<E>::names[static_cast<std::size_t>(value)];
}

// A non-string fails with typeMismatch, a string naming no case with dataCorrupted.
template <typename E> E enumFromJson(const JsonDecoder& decoder)
{
    static_assert(EnumTraits<E>::jsonCoded);
    const QString raw = decoder.string();
    const std::optional<E> value = fromRawValue<E>(raw);
    if (!value)
        decoder.fail(DecodingError::Kind::dataCorrupted,
            QStringLiteral("Cannot initialize %1 from invalid String value %2")
                .arg(QLatin1String(EnumTraits<E>::typeName), raw));
    return *value;
}

// The settings window's sections: title, symbol name and search words.
QString title(SettingsSection section);
QString icon(SettingsSection section);
QStringList searchableKeywords(SettingsSection section);

} // namespace tremlor
