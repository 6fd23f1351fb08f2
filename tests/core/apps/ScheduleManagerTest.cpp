#include "Engine/ScheduleManager.h"

#include "Models/ScheduleEntry.h"
#include "support/FakeClock.h"

#include <QTest>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace tremlor;
using tremlor::testing::FakeClock;

namespace {

ScheduleEntry entry(std::set<Weekday> days, std::int64_t startHour, std::int64_t startMinute, std::int64_t endHour,
    std::int64_t endMinute, bool enabled = true)
{
    return { QUuid::createUuid(), enabled, std::move(days), DateComponents::time(startHour, startMinute),
        DateComponents::time(endHour, endMinute), std::nullopt };
}

const std::set<Weekday> weekdays { Weekday::monday, Weekday::tuesday, Weekday::wednesday, Weekday::thursday,
    Weekday::friday };

// Records the callbacks as text, in order: "+<index of entry>" for an activation, "-" for a deactivation.
class ScheduleManagerTest : public ::testing::Test {
protected:
    void at(int year, int month, int day, int hour, int minute)
    {
        clock.setNow(QDateTime(QDate(year, month, day), QTime(hour, minute), zone));
    }
    void start(std::vector<ScheduleEntry> list)
    {
        entries = list;
        manager.start(
            list,
            [this](const ScheduleEntry& e) {
                events << "+" + QString::number(std::ranges::find(entries, e) - entries.begin());
            },
            [this] { events << "-"; });
    }
    // Ticks once a minute (of real elapsed time) until the clock has advanced by `minutes`.
    void tickFor(int minutes)
    {
        for (int i = 0; i < minutes; ++i) {
            clock.advance(std::chrono::minutes(1));
            manager.evaluate();
        }
    }

    QTimeZone zone { "Europe/Berlin" };
    FakeClock clock;
    ScheduleManager manager { clock };
    std::vector<ScheduleEntry> entries;
    QStringList events;
};

} // namespace

// From a start time, ticks of so many minutes and the events reported by then: a window open at
// the start is reported before start returns and closes on the first tick at its end; a night
// window closes at midnight after its last day, else at its end minute; adjacent windows stay
// open; the first matching entry is reported.
TEST_F(ScheduleManagerTest, WindowsOpenAndCloseOnTheirMinutes)
{
    struct Case {
        QDateTime start;
        std::vector<ScheduleEntry> entries;
        std::vector<std::pair<int, QStringList>> steps;
    };
    const auto time
        = [this](int day, int hour, int minute) { return QDateTime(QDate(2026, 12, day), QTime(hour, minute), zone); };
    const Case cases[] = {
        { time(2, 10, 0), { entry(weekdays, 9, 0, 17, 0) },
            { { 0, { "+0" } }, { 6 * 60 + 59, { "+0" } }, { 1, { "+0", "-" } } } },
        { time(7, 21, 58), { entry({ Weekday::monday }, 22, 0, 6, 0) },
            { { 2, { "+0" } }, { 119, { "+0" } }, { 1, { "+0", "-" } } } }, // a Monday
        { time(8, 5, 58), { entry({ Weekday::tuesday }, 22, 0, 6, 0) }, { { 1, { "+0" } }, { 1, { "+0", "-" } } } },
        { time(2, 8, 59),
            { entry(weekdays, 9, 0, 12, 0), entry(weekdays, 12, 0, 17, 0), entry(weekdays, 10, 0, 11, 0) },
            { { 0, {} }, { 1, { "+0" } }, { 8 * 60 - 1, { "+0" } }, { 1, { "+0", "-" } } } },
        { time(2, 10, 30), { entry(weekdays, 10, 0, 11, 0), entry(weekdays, 9, 0, 12, 0) }, { { 0, { "+0" } } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start.toString().toStdString());
        events.clear();
        clock.setNow(c.start);
        start(c.entries);
        EXPECT_EQ(manager.isInsideWindow(), !events.isEmpty());
        for (const auto& [minutes, expected] : c.steps) {
            tickFor(minutes);
            EXPECT_EQ(events, expected) << minutes;
        }
    }
}

TEST_F(ScheduleManagerTest, DegenerateAndOutOfRangeEntriesNeverHold)
{
    const std::set<Weekday> everyDay(weekday::allCases.begin(), weekday::allCases.end());
    constexpr auto big = std::numeric_limits<std::int64_t>::max();
    constexpr auto small = std::numeric_limits<std::int64_t>::min();
    const ScheduleEntry never[] = { entry(everyDay, 9, 0, 9, 0), entry({}, 0, 0, 23, 59),
        entry(everyDay, 0, 0, 23, 59, false), entry(everyDay, 24, 0, 23, 59), entry(everyDay, 0, 60, 23, 59),
        entry(everyDay, 0, 0, 23, -5), entry(everyDay, big, big, big, big), entry(everyDay, small, 0, 23, 0),
        entry(everyDay, 0, 0, big / 60, 0) };
    for (const ScheduleEntry& e : never) {
        for (int weekday = 1; weekday <= 7; ++weekday) {
            for (int minute = 0; minute < 1440; minute += 7)
                ASSERT_FALSE(ScheduleManager::holds(e, weekday, minute)) << weekday << " " << minute;
        }
    }
    EXPECT_FALSE(ScheduleManager::holds(entry(everyDay, 0, 0, 1, 0), 0, 30)); // no such weekday
}

TEST_F(ScheduleManagerTest, UpdatesEvaluateAtOnceEvenFromACallbackAndStopIsSilent)
{
    at(2026, 12, 2, 10, 0);
    auto open = entry(weekdays, 9, 0, 17, 0);
    start({ open });
    // Still inside through another entry: nothing.
    entries = { entry(weekdays, 10, 0, 11, 0) };
    manager.updateEntries(entries);
    EXPECT_EQ(events, QStringList({ "+0" }));
    // Disabling the open one closes the window at once.
    entries[0].isEnabled = false;
    manager.updateEntries(entries);
    EXPECT_EQ(events, QStringList({ "+0", "-" }));
    manager.updateEntries({});
    EXPECT_EQ(events.size(), 2);

    events.clear();
    start({ open });
    manager.stop();
    tickFor(10);
    EXPECT_EQ(events, QStringList({ "+0" }));
    start({ open });
    EXPECT_EQ(events, QStringList({ "+0", "+0" }));

    // A callback may replace the list without a deadlock; the edge it causes comes after.
    manager.stop();
    events.clear();
    manager.start(
        { open },
        [&](const ScheduleEntry&) {
            events << "+";
            manager.updateEntries({});
        },
        [&] { events << "-"; });
    EXPECT_EQ(events, QStringList({ "+", "-" }));
}

TEST_F(ScheduleManagerTest, DaylightSavingDaysFollowTheWallClock)
{
    zone = QTimeZone("America/New_York");
    // 2026-03-08: 2:00 jumps to 3:00. A window wholly inside the skipped hour never opens.
    at(2026, 3, 8, 1, 0);
    start({ entry({ Weekday::sunday }, 2, 10, 2, 40), entry({ Weekday::sunday }, 3, 0, 3, 5) });
    tickFor(3 * 60);
    EXPECT_EQ(events, QStringList({ "+1", "-" }));

    // 2026-11-01: 2:00 falls back to 1:00. A window inside the repeated hour opens twice.
    events.clear();
    at(2026, 11, 1, 0, 30);
    ASSERT_EQ(clock.now().offsetFromUtc(), -4 * 3600);
    start({ entry({ Weekday::sunday }, 1, 10, 1, 40) });
    tickFor(3 * 60);
    EXPECT_EQ(events, QStringList({ "+0", "-", "+0", "-" }));
}

// The tick runs on a utility queue but only posts: the evaluation, and so the callbacks, run on
// the main thread. (A 5 ms interval stands in for the minute.)
TEST(ScheduleManagerTimer, TicksEvaluateOnTheMainThread)
{
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 2), QTime(8, 0)));
    ScheduleManager manager(clock, std::chrono::milliseconds(5));
    QThread* activatedOn = nullptr;
    manager.start(
        { entry(weekdays, 9, 0, 17, 0) }, [&](const ScheduleEntry&) { activatedOn = QThread::currentThread(); }, [] {});
    EXPECT_EQ(activatedOn, nullptr);
    clock.setNow(QDateTime(QDate(2026, 12, 2), QTime(9, 0)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activatedOn != nullptr; }, 2000));
    EXPECT_EQ(activatedOn, QThread::currentThread());
    manager.stop();
}
