#pragma once

#include "Engine/DurationTimerProtocol.h"
#include "Engine/TickSource.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace tremlor {

// The session countdown: counts whole seconds down once a second on the main thread. It
// counts firings, not wall-clock time.
class DurationTimer final : public DurationTimerProtocol {
    Q_OBJECT

public:
    // ticks: the firing source (the real one-second timer when null).
    explicit DurationTimer(std::shared_ptr<TickSource> ticks = nullptr, QObject* parent = nullptr);
    ~DurationTimer() override;
    Q_DISABLE_COPY_MOVE(DurationTimer)

    double remainingSeconds() const override { return m_remainingSeconds; }
    bool isRunning() const override { return m_isRunning; }
    double totalSeconds() const override { return m_totalSeconds; }
    bool isIndefinite() const override { return m_isIndefinite; }
    bool isPaused() const override;
    QString formattedTimeRemaining() const override;

    void start(const Duration& duration, TickHandler onTick, ExpiryHandler onExpiry) override;
    void stop() override;
    void pause() override;
    void resume() override;

    // Seconds of a finite duration; minutes × 60 saturates at the 64-bit bounds. Empty for
    // an indefinite one.
    static std::optional<std::int64_t> seconds(const Duration& duration);
    // The countdown text for a number of seconds (fraction dropped, out-of-range values
    // clamped to the 64-bit bounds, NaN read as 0).
    static QString format(double seconds);

private:
    void tick();
    void subscribe();
    void setRemainingSeconds(double value);
    void setRunning(bool value);
    void setTotalSeconds(double value);
    void notifyPausedIfChanged(bool wasPaused);

    std::shared_ptr<TickSource> m_ticks;
    double m_remainingSeconds = 0;
    bool m_isRunning = false;
    double m_totalSeconds = 0;
    std::unique_ptr<TickSubscription> m_subscription;
    TickHandler m_onTick;
    ExpiryHandler m_onExpiry;
    bool m_isIndefinite = false;
    std::uint64_t m_generation = 0;
};

} // namespace tremlor
