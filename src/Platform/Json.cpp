#include "Platform/Json.h"

#include <cmath>
#include <limits>

namespace tremlor {

namespace {

const char* jsonTypeName(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::object:
        return "a dictionary";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return "a number";
    default:
        return "an unknown value";
    }
}

} // namespace

DecodingError::DecodingError(Kind kind, QString codingPath, QString debugDescription)
    : m_kind(kind)
    , m_codingPath(std::move(codingPath))
    , m_debugDescription(std::move(debugDescription))
{
    static const char* const kinds[] = { "typeMismatch", "keyNotFound", "dataCorrupted" };
    m_what = std::string(kinds[static_cast<int>(kind)]) + " at \"" + m_codingPath.toStdString()
        + "\": " + m_debugDescription.toStdString();
}

JsonDecoder::JsonDecoder(const Json& value)
    : m_value(&value)
{
}

JsonDecoder::JsonDecoder(const Json& value, const JsonDecoder* parent, const char* key, std::size_t index)
    : m_value(&value)
    , m_parent(parent)
    , m_key(key)
    , m_index(index)
{
}

QString JsonDecoder::codingPath() const
{
    if (!m_parent)
        return {};
    const QString parentPath = m_parent->codingPath();
    if (m_key)
        return parentPath.isEmpty() ? QString::fromUtf8(m_key) : parentPath + u'.' + QString::fromUtf8(m_key);
    return parentPath + u'[' + QString::number(m_index) + u']';
}

void JsonDecoder::fail(DecodingError::Kind kind, const QString& description) const
{
    throw DecodingError(kind, codingPath(), description);
}

void JsonDecoder::typeMismatch(const char* expected) const
{
    fail(DecodingError::Kind::typeMismatch,
        QStringLiteral("Expected to decode %1 but found %2 instead.")
            .arg(QString::fromLatin1(expected), QString::fromLatin1(jsonTypeName(*m_value))));
}

void JsonDecoder::requireObject() const
{
    if (!m_value->is_object())
        typeMismatch("Dictionary");
}

JsonDecoder JsonDecoder::member(const char* key) const
{
    requireObject();
    const auto it = m_value->find(key);
    if (it == m_value->end())
        fail(DecodingError::Kind::keyNotFound,
            QStringLiteral("No value associated with key \"%1\".").arg(QString::fromUtf8(key)));
    return JsonDecoder(*it, this, key, 0);
}

std::optional<JsonDecoder> JsonDecoder::optionalMember(const char* key) const
{
    requireObject();
    const auto it = m_value->find(key);
    if (it == m_value->end() || it->is_null())
        return std::nullopt;
    return JsonDecoder(*it, this, key, 0);
}

std::size_t JsonDecoder::arraySize() const
{
    if (!m_value->is_array())
        typeMismatch("Array");
    return m_value->size();
}

void JsonDecoder::forEachElement(const std::function<void(const JsonDecoder&)>& fn) const
{
    const std::size_t count = arraySize();
    for (std::size_t i = 0; i < count; ++i)
        fn(JsonDecoder((*m_value)[i], this, nullptr, i));
}

QString JsonDecoder::string() const
{
    if (!m_value->is_string())
        typeMismatch("String");
    const auto& text = m_value->get_ref<const std::string&>();
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool JsonDecoder::boolean() const
{
    if (!m_value->is_boolean())
        typeMismatch("Bool");
    return m_value->get<bool>();
}

double JsonDecoder::number() const
{
    switch (m_value->type()) {
    case Json::value_t::number_float:
        return m_value->get<double>();
    case Json::value_t::number_integer:
        return static_cast<double>(m_value->get<std::int64_t>());
    case Json::value_t::number_unsigned:
        return static_cast<double>(m_value->get<std::uint64_t>());
    default:
        typeMismatch("Double");
    }
}

std::int64_t JsonDecoder::integer() const
{
    switch (m_value->type()) {
    case Json::value_t::number_integer:
        return m_value->get<std::int64_t>();
    case Json::value_t::number_unsigned: {
        // The parser keeps every non-negative integer unsigned: check it fits.
        const std::uint64_t u = m_value->get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            break;
        return static_cast<std::int64_t>(u);
    }
    case Json::value_t::number_float:
        // The text had a fraction or an exponent, or lay outside 64 bits: its digits may
        // already be rounded away, so never make an integer of it.
        break;
    default:
        typeMismatch("Int");
    }
    fail(DecodingError::Kind::dataCorrupted,
        QStringLiteral("Parsed JSON number <%1> does not fit in Int.").arg(QString::fromStdString(m_value->dump())));
}

QUuid JsonDecoder::uuid() const
{
    const QString text = string();
    const auto uuid = json::parseUuid(text);
    if (!uuid)
        fail(DecodingError::Kind::dataCorrupted, QStringLiteral("Attempted to decode UUID from invalid UUID string."));
    return *uuid;
}

QStringList JsonDecoder::stringList() const
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(arraySize()));
    forEachElement([&list](const JsonDecoder& element) { list.append(element.string()); });
    return list;
}

namespace json {

OrderedJson number(double value)
{
    if (!std::isfinite(value))
        throw EncodingError("Unable to encode a non-finite number directly in JSON.");
    // Stored files write 30.0 as 30; readers take either form as a double.
    if (std::trunc(value) == value && std::fabs(value) < 1e15 && !(value == 0.0 && std::signbit(value)))
        return static_cast<std::int64_t>(value);
    return value;
}

OrderedJson string(const QString& value)
{
    return value.toStdString();
}

OrderedJson stringList(const QStringList& values)
{
    OrderedJson array = OrderedJson::array();
    for (const QString& value : values)
        array.push_back(value.toStdString());
    return array;
}

QByteArray dump(const OrderedJson& value)
{
    std::string text;
    try {
        text = value.dump(-1, ' ', false, OrderedJson::error_handler_t::strict);
    } catch (const std::exception& e) {
        throw EncodingError(e.what());
    }
    // "/" only occurs inside strings, where stored files write it as "\/".
    QByteArray out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        if (c == '/')
            out.append("\\/", 2);
        else
            out.append(c);
    }
    return out;
}

QString uuidText(const QUuid& uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> parseUuid(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) {
            return std::nullopt;
        }
    }
    return QUuid::fromString(text);
}

std::optional<QByteArray> encode(const std::function<OrderedJson()>& fn)
{
    try {
        return dump(fn());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

Json parse(const QByteArray& data)
{
    try {
        return Json::parse(data.constBegin(), data.constEnd());
    } catch (const std::exception&) {
        throw DecodingError(
            DecodingError::Kind::dataCorrupted, {}, QStringLiteral("The given data was not valid JSON."));
    }
}

DecodingError unexpectedFailure(const std::exception& e)
{
    return DecodingError(DecodingError::Kind::dataCorrupted, {}, QString::fromUtf8(e.what()));
}

} // namespace json
} // namespace tremlor
