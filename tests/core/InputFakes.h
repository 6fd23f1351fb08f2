#pragma once

#include "Engine/MouseMover.h"
#include "Engine/QueueTimers.h"
#include "Platform/Dispatch.h"
#include "Platform/MouseMoving.h"
#include "Platform/Random.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace tremlor::testing {

// A seeded generator whose draws over chosen ranges can be pinned; closed ranges like the real one.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(unsigned seed = 1)
        : m_engine(seed)
    {
    }
    double uniformReal(double a, double b) override
    {
        if (auto value = realHook ? realHook(a, b) : std::nullopt)
            return *value;
        if (auto it = m_reals.find({ a, b }); it != m_reals.end())
            return it->second;
        return b > a ? std::uniform_real_distribution<double>(a, std::nextafter(b, b + 1.0))(m_engine) : a;
    }
    std::int64_t uniformInt(std::int64_t a, std::int64_t b) override
    {
        if (auto it = m_ints.find({ a, b }); it != m_ints.end())
            return it->second;
        return b > a ? std::uniform_int_distribution<std::int64_t>(a, b)(m_engine) : a;
    }
    void pinReal(double a, double b, double value) { m_reals[{ a, b }] = value; }
    void pinInt(std::int64_t a, std::int64_t b, std::int64_t value) { m_ints[{ a, b }] = value; }

    // Consulted first for every real draw; nullopt falls through.
    std::function<std::optional<double>(double, double)> realHook;

private:
    std::mt19937_64 m_engine;
    std::map<std::pair<double, double>, double> m_reals;
    std::map<std::pair<std::int64_t, std::int64_t>, std::int64_t> m_ints;
};

// Timers that fire only when the test says so, on the queue they were armed for.
class ManualTimers final : public QueueTimers {
public:
    struct Armed {
        dispatch::SerialQueue* queue = nullptr;
        std::chrono::nanoseconds delay {};
        std::function<void()> fn;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };

    Cancel arm(dispatch::SerialQueue& queue, std::chrono::nanoseconds delay, std::chrono::nanoseconds,
        std::function<void()> fn) override
    {
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard guard(m_lock);
        m_armed.push_back({ &queue, delay, std::move(fn), cancelled });
        return [cancelled] { *cancelled = true; };
    }

    std::size_t count() const
    {
        std::lock_guard guard(m_lock);
        return m_armed.size();
    }
    Armed at(std::size_t index) const
    {
        std::lock_guard guard(m_lock);
        return m_armed.at(index);
    }
    std::size_t liveCount() const
    {
        std::lock_guard guard(m_lock);
        return std::count_if(m_armed.begin(), m_armed.end(), [](const Armed& a) { return !*a.cancelled; });
    }
    // Runs timer `index` on its queue and waits; a cancelled timer does not run.
    bool fire(std::size_t index)
    {
        const Armed armed = at(index);
        bool ran = false;
        armed.queue->sync([&] {
            if (!armed.cancelled->load()) {
                ran = true;
                armed.fn();
            }
        });
        return ran;
    }
    bool fireLast() { return fire(count() - 1); }

private:
    mutable std::mutex m_lock;
    std::vector<Armed> m_armed;
};

// One posted event, as the fake screen saw it.
struct PostedEvent {
    enum class Kind { move, click, pressKey, keyDown, keyUp, scroll };
    Kind kind;
    QPointF point;
    int code = 0;
    int horizontal = 0;
};

// A recording poster over an in-memory screen. The test reads it only between ticks, which run
// on the mover's queue and end before fire() returns.
class FakePoster final : public MouseMoving {
public:
    void click(QPointF p) override { events.push_back({ PostedEvent::Kind::click, p }); }
    void pressKey(quint16 code) override { events.push_back({ PostedEvent::Kind::pressKey, {}, code }); }
    void moveCursor(QPointF p) override
    {
        if (onMove)
            onMove(p);
        events.push_back({ PostedEvent::Kind::move, p });
        cursor = p;
    }
    void postKey(quint16 code, bool down) override
    {
        events.push_back({ down ? PostedEvent::Kind::keyDown : PostedEvent::Kind::keyUp, {}, code });
    }
    void scroll(int v, int h) override { events.push_back({ PostedEvent::Kind::scroll, {}, v, h }); }
    QPointF cursorLocation() override { return cursor; }
    QRectF displayBounds(QPointF p) override
    {
        for (const QRectF& d : displays) {
            if (p.x() >= d.left() && p.x() < d.right() && p.y() >= d.top() && p.y() < d.bottom())
                return d;
        }
        return displays.empty() ? QRectF() : displays.front();
    }
    QRectF screenBounds() override { return screen; }
    void releaseAll() override { ++releases; }
    std::vector<PostedEvent> takeEvents() { return std::exchange(events, {}); }

    QPointF cursor { 500, 400 };
    std::vector<QRectF> displays { QRectF(0, 0, 1920, 1080) };
    QRectF screen { 0, 0, 1920, 1080 };
    std::vector<PostedEvent> events;
    std::function<void(QPointF)> onMove; // runs on the mover's queue before each move lands
    std::atomic<int> releases { 0 };
};

// A mover over the fake screen with hand-fired timers; onSleep runs at each pause within a tick,
// each of which takes a millisecond of the fake clock.
struct MoverRig {
    explicit MoverRig(unsigned seed = 7)
        : random(std::make_shared<ScriptedRandom>(seed))
    {
        MouseMover::Seams seams { random, clock,
            [this](std::chrono::microseconds) {
                // The mover's own scroll or key release is stamped before the pause that follows it.
                const auto& posted = poster->events;
                const bool own = !posted.empty() && posted.size() != seen
                    && (posted.back().kind == PostedEvent::Kind::scroll
                        || posted.back().kind == PostedEvent::Kind::keyUp);
                EXPECT_TRUE(!own || MouseMover::lastSyntheticNonMouseTime() == clock->monotonicNow());
                seen = posted.size();
                clock->advance(std::chrono::milliseconds(1));
                if (onSleep)
                    onSleep();
            },
            timers };
        mover = std::make_unique<MouseMover>(poster, seams);
        mover->setOnJiggle([this] { ++jiggles; });
    }

    void start(MovementPattern pattern, bool keyboard = false, bool clicks = false, double maxInterval = 30.0,
        double distance = 10.0)
    {
        mover->start(maxInterval, distance, pattern, keyboard, clicks);
        mover->waitUntilIdle();
    }
    bool tick() { return timers->fireLast(); }
    // Jitter pinned to zero, so curve steps land exactly on the Bézier curve.
    void withoutJitter()
    {
        random->realHook
            = [](double a, double b) { return a < 0 && a == -b ? std::optional(0.0) : std::optional<double>(); };
    }

    std::shared_ptr<FakePoster> poster = std::make_shared<FakePoster>();
    std::shared_ptr<ScriptedRandom> random;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ManualTimers> timers = std::make_shared<ManualTimers>();
    std::function<void()> onSleep;
    std::size_t seen = 0; // events posted by the last pause
    std::atomic<int> jiggles { 0 };
    std::unique_ptr<MouseMover> mover;
};

} // namespace tremlor::testing
