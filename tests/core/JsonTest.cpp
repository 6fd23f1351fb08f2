#include "Platform/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tremlor;

namespace {

DecodeResult<std::int64_t> decodeInteger(const QByteArray& text)
{
    return json::decode<std::int64_t>(text, [](const JsonDecoder& d) { return d.integer(); });
}

} // namespace

TEST(Json, NumbersAndTextAreWrittenLikeTheReferenceEncoder)
{
    EXPECT_EQ(json::dump(json::number(30.0)), "30");
    EXPECT_EQ(json::dump(json::number(0.5)), "0.5");
    // Large and tiny values keep their exact double when read back.
    for (const double value : { 1e300, 4.9e-324, 123456789.125, -0.0, 1e15, 9007199254740993.0 }) {
        const auto back
            = json::decode<double>(json::dump(json::number(value)), [](const JsonDecoder& d) { return d.number(); });
        ASSERT_TRUE(back) << value;
        EXPECT_EQ(*back.value, value);
        EXPECT_EQ(std::signbit(*back.value), std::signbit(value));
    }
    for (const double bad :
        { std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() }) {
        EXPECT_THROW(json::number(bad), EncodingError);
        EXPECT_EQ(json::encode([bad] { return OrderedJson::array({ json::number(bad) }); }), std::nullopt);
    }
    // Text is compact, keeps the member order and escapes slashes.
    OrderedJson object = OrderedJson::object();
    object["zeta"] = json::string("a/b \"q\" \u00e9");
    object["alpha"] = json::stringList({ "x", "" });
    EXPECT_EQ(json::dump(object), QByteArray(R"({"zeta":"a\/b \"q\" )") + "\xc3\xa9" + R"(","alpha":["x",""]})");
}

TEST(Json, IntegersAreNeverTruncatedOrWrapped)
{
    EXPECT_EQ(decodeInteger("42").value, 42);
    EXPECT_EQ(decodeInteger("-9223372036854775808").value, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decodeInteger("9223372036854775807").value, std::numeric_limits<std::int64_t>::max());
    for (const char* bad : { "45.0", "1e2", "-9223372036854775809", "4503599627370496.5", "9.5", "-0.5",
             "9223372036854775808", "18446744073709551615", "1e19", "-1e19", "1e400", "true", "\"5\"", "null", "[1]" })
        EXPECT_FALSE(decodeInteger(bad)) << bad;
}

TEST(Json, UuidsAreStrictAndPrintedUpperCase)
{
    const QUuid uuid = QUuid::fromString(QStringLiteral("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"));
    EXPECT_EQ(json::uuidText(uuid), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(json::parseUuid(u"e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), uuid);
    EXPECT_EQ(json::parseUuid(u"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), uuid);
    EXPECT_EQ(json::parseUuid(u"00000000-0000-0000-0000-000000000000"), QUuid());
    for (const char16_t* bad : { u"{e621e1f8-c36c-495a-93fc-0c247a3e6e5f}", u"e621e1f8-c36c-495a-93fc-0c247a3e6e5fx",
             u"e621e1f8c36c495a93fc0c247a3e6e5f", u"e621e1f8-c36c-495a-93fc-0c247a3e6e5",
             u"g621e1f8-c36c-495a-93fc-0c247a3e6e5f", u"e621e1f8-c36c-495a-93fc+0c247a3e6e5f", u"",
             u"\uff10621e1f8-c36c-495a-93fc-0c247a3e6e5f" })
        EXPECT_EQ(json::parseUuid(bad), std::nullopt) << QString::fromUtf16(bad).toStdString();
}

TEST(Json, MalformedDocumentsFailCleanly)
{
    const auto readName = [](const JsonDecoder& d) { return d.member("name").string(); };
    for (const QByteArray& bad : { QByteArray(), QByteArray("{\"name\":"), QByteArray("{\"name\":\"a\"} x"),
             QByteArray("{\"name\":\"\xff\"}"), QByteArray("{'name':'a'}"), QByteArray("{\"name\":\"a\" /* c */}"),
             QByteArray("{\"name\":1e999}"), QByteArray("\0\0\0", 3) }) {
        const auto result = json::decode<QString>(bad, readName);
        ASSERT_FALSE(result) << bad.left(40).toStdString();
        EXPECT_EQ(result.error->kind(), DecodingError::Kind::dataCorrupted);
    }

    const auto wrongType = json::decode<QString>("{\"name\":5}", readName);
    ASSERT_FALSE(wrongType);
    EXPECT_EQ(wrongType.error->kind(), DecodingError::Kind::typeMismatch);
    EXPECT_EQ(wrongType.error->codingPath(), "name");
}
