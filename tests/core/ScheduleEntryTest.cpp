#include "Models/ScheduleEntry.h"

#include "support/FakeClock.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace tremlor;
using enum Weekday;

namespace {

ScheduleEntry entry(std::set<Weekday> days, DateComponents start = DateComponents::time(9, 0),
    DateComponents end = DateComponents::time(17, 0))
{
    return { QUuid::fromString(QStringLiteral("11111111-2222-3333-4444-555555555555")), true, std::move(days), start,
        end, std::nullopt };
}

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

// Day numbers and their bounds are checked through the stored form (BadInput), the calendar's
// weekdays through the schedule (ScheduleManagerTest.DaylightSavingDaysFollowTheWallClock).
TEST(ScheduleEntry, DescribesDaysAndTimesInTheUsersLocale)
{
    for (const auto& [days, text] : std::initializer_list<std::pair<std::set<Weekday>, QString>> {
             { { monday, tuesday, wednesday, thursday, friday }, "Weekdays" }, { { saturday, sunday }, "Weekends" },
             { { weekday::allCases.begin(), weekday::allCases.end() }, "Every day" },
             { { monday, tuesday, wednesday, thursday, friday, saturday }, "Mon, Tue, Wed, Thu, Fri, Sat" },
             { { wednesday, sunday }, "Sun, Wed" }, { {}, "" } })
        EXPECT_EQ(entry(days).daysDescription(), text);
    const LocaleGuard guard(QLocale(QLocale::English, QLocale::UnitedStates));
    tremlor::testing::FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(14, 7)));
    const QString dash = QStringLiteral(" \u2013 ");
    EXPECT_EQ(entry({}).timeRangeDescription(clock), "9:00 AM" + dash + "5:00 PM");
    // Unset components count as 0; components that name no time show the current one.
    EXPECT_EQ(entry({}, DateComponents {}, DateComponents::time(24, 0)).timeRangeDescription(clock),
        "12:00 AM" + dash + "2:07 PM");
}

TEST(ScheduleEntry, JsonFormRoundTrips)
{
    ScheduleEntry plain = entry({ friday, monday });
    EXPECT_EQ(ScheduleEntry::encodeList({ plain }),
        QByteArray(R"([{"id":"11111111-2222-3333-4444-555555555555","isEnabled":true,"days":[2,6],)"
                   R"("startTime":{"hour":9,"minute":0},"endTime":{"hour":17,"minute":0}}])"));
    ScheduleEntry withProfile = entry({ sunday }, DateComponents { 7, std::nullopt }, DateComponents {});
    withProfile.profileId = QUuid::createUuid();
    withProfile.isEnabled = false;
    const QList<ScheduleEntry> list { plain, withProfile };
    const auto back = ScheduleEntry::decodeList(*ScheduleEntry::encodeList(list));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back.value, list);

    const auto nullProfile
        = ScheduleEntry::decodeList(R"([{"profileId":null,"days":[6,2,2],"id":"11111111-2222-3333-4444-555555555555",)"
                                    R"("isEnabled":true,"startTime":{"hour":9,"minute":0,"second":5},"endTime":{}}])");
    ASSERT_TRUE(nullProfile);
    // No profile, days deduplicated, seconds dropped, an empty end time kept empty.
    EXPECT_EQ(nullProfile.value->front(), entry({ monday, friday }, DateComponents::time(9, 0), DateComponents {}));
}
