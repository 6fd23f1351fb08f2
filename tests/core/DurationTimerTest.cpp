#include "Engine/DurationTimer.h"

#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>

#include <limits>

using namespace tremlor;

namespace {

struct Countdown : ::testing::Test {
    std::shared_ptr<ManualTickSource> ticks = std::make_shared<ManualTickSource>();
    DurationTimer timer { ticks };
    std::vector<double> tickValues;
    int expiries = 0;

    void start(const Duration& duration)
    {
        timer.start(
            duration, [this](double remaining) { tickValues.push_back(remaining); }, [this] { ++expiries; });
    }
    void fire(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            ticks->fire();
    }
};

} // namespace

TEST_F(Countdown, TicksDownPausesAndExpiresInTheLastFiringOnce)
{
    QSignalSpy remainingSpy(&timer, &DurationTimerProtocol::remainingSecondsChanged);
    start(Duration::minutes15());
    fire();
    EXPECT_THAT(tickValues, ::testing::ElementsAre(899));
    EXPECT_EQ(timer.formattedTimeRemaining(), "14:59");
    EXPECT_EQ(remainingSpy.count(), 2); // the start and the tick

    // Time passes while paused; a second resume must not tick twice per firing.
    timer.pause();
    fire(5);
    timer.resume();
    timer.resume();
    EXPECT_EQ(ticks->activeCount(), 1);
    fire(898);
    EXPECT_EQ(expiries, 0);
    EXPECT_EQ(timer.remainingSeconds(), 1);
    fire();
    EXPECT_EQ(tickValues.back(), 0);
    EXPECT_EQ(tickValues.size(), 900u);
    EXPECT_EQ(expiries, 1);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(ticks->activeCount(), 0);

    // The callbacks are gone: a resume does not tick again and nothing is reported.
    timer.resume();
    fire(3);
    EXPECT_EQ(expiries, 1);
    EXPECT_EQ(tickValues.size(), 900u);
}

TEST_F(Countdown, IndefiniteRunsWithoutTicksAndNoTimeLeftExpiresAtOnce)
{
    QSignalSpy remainingSpy(&timer, &DurationTimerProtocol::remainingSecondsChanged);
    start(Duration::indefinite());
    // Even though the value stays 0, observers hear of it (this is how "∞" reaches the label).
    EXPECT_EQ(remainingSpy.count(), 1);
    EXPECT_EQ(timer.formattedTimeRemaining(), "∞");
    EXPECT_EQ(timer.totalSeconds() + timer.remainingSeconds(), 0.0);
    timer.resume();
    fire(5);
    EXPECT_EQ(ticks->activeCount(), 0);
    EXPECT_TRUE(tickValues.empty());
    EXPECT_EQ(expiries, 0);

    // A finite start afterwards is no longer indefinite; once stopped, a resume starts nothing.
    start(Duration::custom(1));
    EXPECT_FALSE(timer.isIndefinite());
    timer.stop();
    timer.resume();
    EXPECT_EQ(ticks->activeCount(), 0);
    EXPECT_EQ(timer.totalSeconds(), 60);

    // Custom durations of no time or less expire at the first firing without ticking.
    start(Duration::custom(0));
    EXPECT_EQ(timer.formattedTimeRemaining(), "0:00");
    fire();
    EXPECT_TRUE(tickValues.empty());
    EXPECT_EQ(expiries, 1);

    start(Duration::custom(-5));
    EXPECT_EQ(timer.remainingSeconds(), -300);
    EXPECT_EQ(timer.formattedTimeRemaining(), "-5:00");
    timer.pause();
    timer.resume(); // nothing remains: stays paused
    EXPECT_EQ(ticks->activeCount(), 0);
}

TEST_F(Countdown, RestartReplacesTheCallbacksEvenFromInsideTheExpiry)
{
    int oldTicks = 0, oldExpiries = 0;
    timer.start(
        Duration::minutes15(), [&](double) { ++oldTicks; }, [&] { ++oldExpiries; });
    fire();
    start(Duration::custom(1));
    EXPECT_EQ(ticks->activeCount(), 1);
    fire(60);
    EXPECT_EQ(std::pair(oldTicks, oldExpiries), std::pair(1, 0));
    EXPECT_EQ(expiries, 1);

    // A callback that starts a new session from inside the expiry must not have that session
    // stopped by the expiry that is still finishing.
    int restarted = 0;
    timer.start(
        Duration::custom(1), [](double) {},
        [&] {
            ++restarted;
            timer.start(Duration::minutes15(), nullptr, nullptr);
        });
    fire(60);
    EXPECT_EQ(restarted, 1);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_EQ(timer.remainingSeconds(), 900);
    EXPECT_EQ(ticks->activeCount(), 1);
    fire();
    EXPECT_EQ(timer.remainingSeconds(), 899);
}

// The real source fires about once a second on a real event loop, again and again.
TEST(DurationTimer, TheRealSourceFiresEverySecond)
{
    OneSecondTickSource source;
    int firings = 0;
    const auto subscription = source.subscribe([&] { ++firings; });
    QTest::qWait(3050);
    EXPECT_THAT(firings, ::testing::AllOf(::testing::Ge(2), ::testing::Le(4)));
}

// The fixed durations' seconds; custom minutes saturate; the short and long forms hold in 64 bits.
TEST(DurationTimer, SecondsSaturateAndTheFormatNeverWraps)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    std::vector<std::optional<std::int64_t>> fixed;
    for (const Duration& d : Duration::allCases())
        fixed.push_back(DurationTimer::seconds(d));
    EXPECT_EQ(fixed, (decltype(fixed) { 900, 1800, 3600, 7200, 14400, 28800, std::nullopt }));
    EXPECT_EQ(DurationTimer::seconds(Duration::custom(max / 60)), max / 60 * 60);
    EXPECT_EQ(DurationTimer::seconds(Duration::custom(max / 60 + 1)), max);
    EXPECT_EQ(DurationTimer::seconds(Duration::custom(max)), max);
    EXPECT_EQ(DurationTimer::seconds(Duration::custom(min)), min);

    // Beyond 32 bits the hours must not wrap; out of range and NaN never reach an undefined conversion.
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [seconds, text] : std::initializer_list<std::pair<double, QString>> { { 3599, "59:59" },
             { 3600, "1:00:00" }, { 59.9, "0:59" }, { -300, "-5:00" }, { 3600.0 * 3'000'000, "3000000:00:00" },
             { 1e300, "2562047788015215:30:07" }, { inf, "2562047788015215:30:07" }, { nan, "0:00" } })
        EXPECT_EQ(DurationTimer::format(seconds), text) << seconds;
    EXPECT_EQ(DurationTimer::format(-1e300), DurationTimer::format(-9223372036854775808.0));
}
