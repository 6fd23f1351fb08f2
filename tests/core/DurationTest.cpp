#include "Models/Duration.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace tremlor;

namespace {

DecodeResult<Duration> decodeDuration(const char* text)
{
    return json::decode<Duration>(QByteArray(text), &Duration::fromJson);
}

QByteArray encoded(const Duration& d)
{
    return json::dump(d.toJson());
}

} // namespace

TEST(Duration, ResolvesIdsAndHonoursStoredCustomDefaults)
{
    for (const auto& [id, duration] : std::initializer_list<std::pair<QString, Duration>> {
             { "4h", Duration::hours4() }, { "inf", Duration::indefinite() }, { "", Duration::hours1() },
             { "2H", Duration::hours1() }, { "custom_90", Duration::custom(90) },
             { "custom_10000000", Duration::custom(10'000'000) }, { "custom_1", Duration::custom(1) } })
        EXPECT_EQ(Duration::resolve(id), duration) << id.toStdString();
    for (const char* bad : { "custom_0", "custom_-5", "custom_090", "custom_+9", "custom_10000001", "custom_ 9",
             "custom_", "custom_9x", "custom_99999999999999999999", "Custom_9", "custom_\u0669" })
        EXPECT_EQ(Duration::resolve(QString::fromUtf8(bad)), Duration::hours1()) << bad;
}

// A custom hour is not the hour case, in equality, hashing and the stored form alike.
TEST(Duration, EncodesAsOneKeyObjectNamedAfterTheCase)
{
    EXPECT_NE(Duration::custom(60), Duration::hours1());
    EXPECT_EQ((std::unordered_set { Duration::hours1(), Duration::custom(60), Duration::custom(60) }).size(), 2u);
    EXPECT_EQ(Duration::custom(90).accessibleLabel() + ", " + Duration::hours1().accessibleLabel() + ", "
            + Duration::custom(1).accessibleLabel(),
        "90 minutes, 1 hour, 1 minute");
    EXPECT_EQ(Duration::indefinite().displayLabel() + ' ' + Duration::custom(-5).displayLabel() + ' '
            + Duration::minutes30().displayLabel(),
        QString::fromUtf8("∞ -5m 30m"));
    EXPECT_EQ(encoded(Duration::hours1()), R"({"hours1":{}})");
    EXPECT_EQ(encoded(Duration::custom(90)), R"({"custom":{"minutes":90}})");
    for (const Duration& d : Duration::allCases())
        EXPECT_EQ(decodeDuration(encoded(d).constData()).value, d);
    const Duration extreme = Duration::custom(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decodeDuration(encoded(extreme).constData()).value, extreme);
}

TEST(Duration, DecodingAcceptsExtraKeysButNeedsExactlyOneCase)
{
    EXPECT_EQ(decodeDuration(R"({"hours2":{},"note":1})").value, Duration::hours2());
    EXPECT_EQ(decodeDuration(R"({"hours2":{"x":1}})").value, Duration::hours2());
    EXPECT_EQ(decodeDuration(R"({"custom":{"minutes":-5}})").value, Duration::custom(-5));

    for (const char* text : { "{}", R"({"hours1":{},"hours2":{}})", R"({"1h":{}})" }) {
        const auto result = decodeDuration(text);
        ASSERT_FALSE(result) << text;
        EXPECT_EQ(result.error->kind(), DecodingError::Kind::typeMismatch);
        EXPECT_EQ(result.error->debugDescription(), "Invalid number of keys found, expected one.");
    }
    const auto missing = decodeDuration(R"({"custom":{}})");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error->kind(), DecodingError::Kind::keyNotFound);
    EXPECT_EQ(missing.error->codingPath(), "custom");

    // Wrong shapes and numbers that would need truncation or wrapping.
    for (const char* text : { R"({"hours2":true})", R"("hours2")", "[]", "null", R"({"custom":{"minutes":"5"}})",
             R"({"custom":{"minutes":9.5}})", R"({"custom":{"minutes":9223372036854775808}})",
             R"({"custom":{"minutes":18446744073709551615}})", R"({"custom":{"minutes":1e400}})",
             R"({"custom":{"minutes":-1e19}})", R"({"custom":{"minutes":null}})" })
        EXPECT_FALSE(decodeDuration(text)) << text;
    EXPECT_EQ(decodeDuration(R"({"custom":{"minutes":9223372036854775807}})").value,
        Duration::custom(std::numeric_limits<std::int64_t>::max()));
}
