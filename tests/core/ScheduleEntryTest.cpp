#include "Models/ScheduleEntry.h"

#include "support/FakeClock.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <unordered_set>

using namespace tremlor;
using enum Weekday;

namespace {

ScheduleEntry entry(std::set<Weekday> days, DateComponents start = DateComponents::time(9, 0),
    DateComponents end = DateComponents::time(17, 0))
{
    ScheduleEntry e;
    e.id = QUuid::fromString(QStringLiteral("11111111-2222-3333-4444-555555555555"));
    e.days = std::move(days);
    e.startTime = start;
    e.endTime = end;
    return e;
}

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

DecodeResult<QList<ScheduleEntry>> decode(const char* text)
{
    return ScheduleEntry::decodeList(QByteArray(text));
}

constexpr const char* idText = "11111111-2222-3333-4444-555555555555";

} // namespace

TEST(Weekday, NumberingNamesAndCalendarDays)
{
    EXPECT_EQ(weekday::fromRawValue(1), sunday);
    EXPECT_EQ(weekday::fromRawValue(7), saturday);
    for (const std::int64_t bad :
        { std::int64_t(0), std::int64_t(8), std::int64_t(-1), std::numeric_limits<std::int64_t>::min() })
        EXPECT_EQ(weekday::fromRawValue(bad), std::nullopt);
    EXPECT_EQ(weekday::shortName(wednesday), "Wed");
    EXPECT_EQ(weekday::allCases.front(), sunday);
    EXPECT_EQ(weekday::of(QDate(2026, 12, 6)), sunday); // a Sunday
    EXPECT_EQ(weekday::of(QDate(2026, 12, 7)), monday);
    EXPECT_EQ(weekday::of(QDate(2026, 12, 12)), saturday);
}

TEST(ScheduleEntry, DescribesDays)
{
    EXPECT_EQ(entry({ monday, tuesday, wednesday, thursday, friday }).daysDescription(), "Weekdays");
    EXPECT_EQ(entry({ saturday, sunday }).daysDescription(), "Weekends");
    EXPECT_EQ(entry({ weekday::allCases.begin(), weekday::allCases.end() }).daysDescription(), "Every day");
    EXPECT_EQ(entry({ monday, tuesday, wednesday, thursday, friday, saturday }).daysDescription(),
        "Mon, Tue, Wed, Thu, Fri, Sat");
    EXPECT_EQ(entry({ wednesday, sunday }).daysDescription(), "Sun, Wed");
    EXPECT_EQ(entry({}).daysDescription(), "");
}

TEST(ScheduleEntry, DescribesTimesInTheUsersLocale)
{
    const LocaleGuard guard(QLocale(QLocale::English, QLocale::UnitedStates));
    tremlor::testing::FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(14, 7)));
    const QString dash = QStringLiteral(" \u2013 ");
    EXPECT_EQ(entry({}).timeRangeDescription(clock), "9:00 AM" + dash + "5:00 PM");
    EXPECT_EQ(entry({}, DateComponents::time(0, 5), DateComponents::time(0, 30)).timeRangeDescription(clock),
        "12:05 AM" + dash + "12:30 AM");
    // Unset components count as 0; components that name no time show the current one.
    EXPECT_EQ(entry({}, DateComponents {}, DateComponents::time(25, 0)).timeRangeDescription(clock),
        "12:00 AM" + dash + "2:07 PM");
}

TEST(ScheduleEntry, EqualityIgnoresInsertionOrder)
{
    ScheduleEntry a = entry({});
    ScheduleEntry b = entry({});
    for (const Weekday d : { monday, friday, sunday })
        a.days.insert(d);
    for (const Weekday d : { sunday, monday, friday })
        b.days.insert(d);
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));

    std::vector<ScheduleEntry> variants(6, a);
    variants[0].id = QUuid::createUuid();
    variants[1].isEnabled = false;
    variants[2].days.erase(monday);
    variants[3].startTime.minute = 1;
    variants[4].endTime.hour.reset();
    variants[5].profileId = QUuid();
    std::unordered_set<ScheduleEntry> set { a };
    for (const ScheduleEntry& v : variants) {
        EXPECT_NE(v, a);
        set.insert(v);
    }
    EXPECT_EQ(set.size(), 7u);
}

TEST(ScheduleEntry, JsonFormRoundTrips)
{
    ScheduleEntry plain = entry({ friday, monday });
    EXPECT_EQ(ScheduleEntry::encodeList({ plain }),
        QByteArray(R"([{"id":")") + idText
            + R"(","isEnabled":true,"days":[2,6],"startTime":{"hour":9,"minute":0},"endTime":{"hour":17,"minute":0}}])");
    ScheduleEntry withProfile = entry({ sunday }, DateComponents { 7, std::nullopt }, DateComponents {});
    withProfile.profileId = QUuid::createUuid();
    withProfile.isEnabled = false;
    const QList<ScheduleEntry> list { plain, withProfile };
    const auto back = ScheduleEntry::decodeList(*ScheduleEntry::encodeList(list));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back.value, list);

    const auto nullProfile = decode(R"([{"profileId":null,"days":[6,2,2],"id":"11111111-2222-3333-4444-555555555555",)"
                                    R"("isEnabled":true,"startTime":{"hour":9,"minute":0,"second":5},"endTime":{}}])");
    ASSERT_TRUE(nullProfile);
    const ScheduleEntry& e = nullProfile.value->front();
    EXPECT_EQ(e.profileId, std::nullopt);
    EXPECT_EQ(e.days, (std::set { monday, friday }));
    EXPECT_EQ(e.startTime, DateComponents::time(9, 0));
    EXPECT_EQ(e.endTime, DateComponents {});
}
