#pragma once

#include "KestuDesign/Utilities/KestuUserDefaults.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <type_traits>

namespace kestu {

namespace detail {
// nlohmann converts numbers and booleans into each other silently; a stored value must have
// the shape of the type it is read as.
template <typename T> bool hasShapeOf(const nlohmann::json& j)
{
    if constexpr (std::is_same_v<T, bool>)
        return j.is_boolean();
    else if constexpr (std::is_integral_v<T>) {
        if (!j.is_number_integer())
            return false;
        if constexpr (std::is_signed_v<T>) {
            if (j.is_number_unsigned())
                return j.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<T>::max());
            const auto v = j.get<std::int64_t>();
            return v >= std::numeric_limits<T>::min() && v <= std::numeric_limits<T>::max();
        } else {
            if (!j.is_number_unsigned())
                return false;
            return j.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<T>::max());
        }
    } else if constexpr (std::is_floating_point_v<T>)
        return j.is_number();
    else if constexpr (std::is_convertible_v<std::string, T>)
        return j.is_string();
    else
        return true;
}

inline bool allFinite(const nlohmann::json& j)
{
    if (j.is_number_float())
        return std::isfinite(j.get<double>());
    if (j.is_structured()) {
        for (const auto& element : j)
            if (!allFinite(element))
                return false;
    }
    return true;
}
} // namespace detail

// Keeps one value as JSON data under one key of a store. T converts with nlohmann::json
// (to_json/from_json found by argument-dependent lookup, like any JSON-codable type).
template <typename T> class CodableUserDefaultsStorage final {
public:
    CodableUserDefaultsStorage(QString key, KestuUserDefaults& defaults)
        : m_key(std::move(key))
        , m_defaults(defaults)
    {
    }

    // The stored value, or nothing when the key holds no data or data of another shape (the
    // data stays in place).
    std::optional<T> load() const
    {
        const auto data = m_defaults.data(m_key);
        if (!data)
            return std::nullopt;
        try {
            const auto j = nlohmann::json::parse(data->constBegin(), data->constEnd());
            if (!detail::hasShapeOf<T>(j))
                return std::nullopt;
            return j.template get<T>();
        } catch (...) {
            return std::nullopt;
        }
    }

    // Writes the value as JSON; a value that cannot be encoded (a number that is not finite,
    // text that is not UTF-8) leaves the store unchanged.
    void save(const T& value) const
    {
        try {
            const nlohmann::json j = value;
            if (!detail::allFinite(j))
                return;
            const std::string text = j.dump();
            m_defaults.setData(m_key, QByteArray(text.data(), qsizetype(text.size())));
        } catch (...) {
        }
    }

    void remove() const { m_defaults.remove(m_key); }

    const QString& key() const { return m_key; }

private:
    QString m_key;
    KestuUserDefaults& m_defaults;
};

} // namespace kestu
