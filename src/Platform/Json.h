#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <cstdint>
#include <exception>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace tremlor {

// Encoding keeps members in declaration order; decoding only needs lookups.
using OrderedJson = nlohmann::ordered_json;
using Json = nlohmann::json;

// A failed decode, shaped like the platform decoder's errors.
class DecodingError final : public std::exception {
public:
    enum class Kind { typeMismatch, keyNotFound, dataCorrupted };

    DecodingError(Kind kind, QString codingPath, QString debugDescription);

    Kind kind() const { return m_kind; }
    // Dotted path of the failing value, e.g. "profiles[2].duration"; empty at the top level.
    const QString& codingPath() const { return m_codingPath; }
    const QString& debugDescription() const { return m_debugDescription; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    Kind m_kind;
    QString m_codingPath;
    QString m_debugDescription;
    std::string m_what;
};

// A value that the encoder refuses (a non-finite number, text that is no valid UTF-8).
class EncodingError final : public std::exception {
public:
    explicit EncodingError(std::string message)
        : m_message(std::move(message))
    {
    }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

// The outcome of decoding a whole document: a value, or the error that stopped it.
template <typename T> struct DecodeResult {
    std::optional<T> value;
    std::optional<DecodingError> error;
    explicit operator bool() const { return value.has_value(); }
};

// Reads one JSON value and reports failures with their coding path. Every accessor throws
// DecodingError; nothing is converted with loss (no truncated fractions, no wrapped integers).
class JsonDecoder {
public:
    explicit JsonDecoder(const Json& value);

    const Json& value() const { return *m_value; }
    bool isNull() const { return m_value->is_null(); }

    // Requires an object and returns its member; a missing key fails with keyNotFound.
    JsonDecoder member(const char* key) const;
    // Requires an object; a missing or null member reads as absent.
    std::optional<JsonDecoder> optionalMember(const char* key) const;
    // Requires an array and calls fn for each element in order.
    void forEachElement(const std::function<void(const JsonDecoder&)>& fn) const;
    std::size_t arraySize() const;

    void requireObject() const;
    QString string() const;
    bool boolean() const;
    double number() const;
    std::int64_t integer() const;
    // Strict 8-4-4-4-12 text, either case.
    QUuid uuid() const;
    QStringList stringList() const;

    [[noreturn]] void fail(DecodingError::Kind kind, const QString& description) const;
    [[noreturn]] void typeMismatch(const char* expected) const;
    QString codingPath() const;

private:
    JsonDecoder(const Json& value, const JsonDecoder* parent, const char* key, std::size_t index);

    const Json* m_value;
    const JsonDecoder* m_parent = nullptr;
    const char* m_key = nullptr;
    std::size_t m_index = 0;
};

namespace json {

// A double as stored files write it: integral values without a fraction.
// Throws EncodingError for NaN and infinities.
OrderedJson number(double value);
OrderedJson string(const QString& value);
OrderedJson stringList(const QStringList& values);

// Compact text with "/" escaped, as stored files and exports are written. Throws EncodingError.
QByteArray dump(const OrderedJson& value);

// Canonical upper-case 36-character form.
QString uuidText(const QUuid& uuid);
// Accepts exactly 8-4-4-4-12 hexadecimal digits, either case; nothing else.
std::optional<QUuid> parseUuid(QStringView text);

// Encodes with fn; nullopt when the encoder refuses a value.
std::optional<QByteArray> encode(const std::function<OrderedJson()>& fn);

// Parses data and decodes it with fn; every failure (bad text, wrong shape, numbers out of
// range, exceptions of the JSON library) becomes the returned error.
template <typename T> DecodeResult<T> decode(const QByteArray& data, const std::function<T(const JsonDecoder&)>& fn);

// Parses data; throws DecodingError (dataCorrupted) when it is not valid JSON.
Json parse(const QByteArray& data);

DecodingError unexpectedFailure(const std::exception& e);

template <typename T> DecodeResult<T> decode(const QByteArray& data, const std::function<T(const JsonDecoder&)>& fn)
{
    DecodeResult<T> result;
    try {
        const Json root = parse(data);
        result.value.emplace(fn(JsonDecoder(root)));
    } catch (const DecodingError& e) {
        result.error = e;
    } catch (const std::exception& e) {
        result.error = unexpectedFailure(e);
    }
    return result;
}

} // namespace json
} // namespace tremlor
