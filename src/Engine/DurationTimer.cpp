#include "Engine/DurationTimer.h"

#include <cmath>
#include <limits>

namespace tremlor {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

// Truncates toward zero; values beyond the 64-bit range clamp (converting them is undefined).
std::int64_t toInt64(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; every double below it converts.
    constexpr double bound = 9223372036854775808.0;
    if (value >= bound)
        return kInt64Max;
    if (value < -bound)
        return kInt64Min;
    return static_cast<std::int64_t>(value);
}

} // namespace

DurationTimer::DurationTimer(std::shared_ptr<TickSource> ticks, QObject* parent)
    : DurationTimerProtocol(parent)
    , m_ticks(ticks ? std::move(ticks) : std::make_shared<OneSecondTickSource>())
{
}

DurationTimer::~DurationTimer() = default;

std::optional<std::int64_t> DurationTimer::seconds(const Duration& duration)
{
    switch (duration.kind()) {
    case Duration::Kind::minutes15:
        return 900;
    case Duration::Kind::minutes30:
        return 1800;
    case Duration::Kind::hours1:
        return 3600;
    case Duration::Kind::hours2:
        return 7200;
    case Duration::Kind::hours4:
        return 14400;
    case Duration::Kind::hours8:
        return 28800;
    case Duration::Kind::indefinite:
        return std::nullopt;
    case Duration::Kind::custom:
        break;
    }
    std::int64_t result = 0;
    if (__builtin_mul_overflow(duration.customMinutes(), std::int64_t { 60 }, &result))
        return duration.customMinutes() < 0 ? kInt64Min : kInt64Max;
    return result;
}

QString DurationTimer::format(double seconds)
{
    const std::int64_t s = toInt64(seconds);
    const auto minutes = static_cast<long long>((s % 3600) / 60);
    const auto secs = static_cast<long long>(s % 60);
    if (s < 3600)
        return QString::asprintf("%lld:%02lld", minutes, secs);
    return QString::asprintf("%lld:%02lld:%02lld", static_cast<long long>(s / 3600), minutes, secs);
}

bool DurationTimer::isPaused() const
{
    return m_isRunning && !m_subscription && !m_isIndefinite;
}

QString DurationTimer::formattedTimeRemaining() const
{
    if (m_isIndefinite)
        return QStringLiteral("∞");
    return format(m_remainingSeconds);
}

void DurationTimer::start(const Duration& duration, TickHandler onTick, ExpiryHandler onExpiry)
{
    stop();
    m_onTick = std::move(onTick);
    m_onExpiry = std::move(onExpiry);
    const bool wasPaused = isPaused();
    const auto total = seconds(duration);
    m_isIndefinite = !total.has_value();
    const double value = total ? static_cast<double>(*total) : 0.0;
    setTotalSeconds(value);
    setRemainingSeconds(value);
    setRunning(true);
    if (total)
        subscribe();
    notifyPausedIfChanged(wasPaused);
}

void DurationTimer::stop()
{
    ++m_generation;
    const bool wasPaused = isPaused();
    m_subscription.reset();
    setRunning(false);
    m_onTick = nullptr;
    m_onExpiry = nullptr;
    notifyPausedIfChanged(wasPaused);
}

void DurationTimer::pause()
{
    const bool wasPaused = isPaused();
    m_subscription.reset();
    notifyPausedIfChanged(wasPaused);
}

void DurationTimer::resume()
{
    if (!m_isRunning || m_subscription || m_isIndefinite || !(m_remainingSeconds > 0))
        return;
    const bool wasPaused = isPaused();
    subscribe();
    notifyPausedIfChanged(wasPaused);
}

void DurationTimer::subscribe()
{
    m_subscription = m_ticks->subscribe([this] { tick(); });
}

void DurationTimer::tick()
{
    // A callback may stop or restart the countdown: then this firing is over.
    const std::uint64_t generation = m_generation;
    if (m_remainingSeconds > 0) {
        setRemainingSeconds(m_remainingSeconds - 1.0);
        if (m_onTick) {
            const TickHandler onTick = m_onTick; // outlives a restart from inside the call
            onTick(m_remainingSeconds);
            if (generation != m_generation)
                return;
        }
        if (m_remainingSeconds > 0)
            return;
    }
    if (m_onExpiry) {
        const ExpiryHandler onExpiry = m_onExpiry;
        onExpiry();
        if (generation != m_generation)
            return;
    }
    stop();
}

void DurationTimer::setRemainingSeconds(double value)
{
    m_remainingSeconds = value;
    Q_EMIT remainingSecondsChanged(value);
}

void DurationTimer::setRunning(bool value)
{
    m_isRunning = value;
    Q_EMIT isRunningChanged(value);
}

void DurationTimer::setTotalSeconds(double value)
{
    m_totalSeconds = value;
    Q_EMIT totalSecondsChanged(value);
}

void DurationTimer::notifyPausedIfChanged(bool wasPaused)
{
    if (isPaused() != wasPaused)
        Q_EMIT isPausedChanged(isPaused());
}

} // namespace tremlor
