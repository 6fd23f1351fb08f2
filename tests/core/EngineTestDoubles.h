#pragma once

// Fakes of every service the engine drives, for the engine's unit tests.

#include "Engine/AppActivating.h"
#include "Engine/IdleDetector.h"
#include "Engine/MouseMoverProtocol.h"
#include "Engine/ScheduleManaging.h"
#include "Helpers/AccessibilityChecking.h"
#include "Models/ScheduleEntry.h"
#include "Platform/DBus/SystemSleepPreventer.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Platform/SoundPlayer.h"

#include <QCoreApplication>
#include <QFuture>

#include <gmock/gmock.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tremlor::testing {

// Records each start; a movement happens when the test says so, reported as the mover's queue
// does, whether or not the mover still runs.
class FakeMover final : public MouseMoverProtocol {
public:
    struct Start {
        double maxInterval, distance;
        MovementPattern pattern;
        bool keyboard, clicks;
    };
    void start(double maxInterval, double distance, MovementPattern pattern, bool keyboard, bool clicks) override
    {
        running = true;
        starts.push_back({ maxInterval, distance, pattern, keyboard, clicks });
    }
    void stop() override { running = false; }
    bool isStopped() const override { return !running; }
    void setOnJiggle(std::function<void()> callback) override { onJiggle = std::move(callback); }
    void jiggle()
    {
        if (onJiggle)
            onJiggle();
    }
    std::vector<Start> starts;
    std::atomic<bool> running = false;
    std::function<void()> onJiggle;
};

class MockIdleMonitor : public IdleMonitoring {
public:
    bool isUserIdle() const override { return false; }
    std::function<void(bool)> onIdleStateChanged() const override
    {
        std::lock_guard guard(m_lock);
        return m_callback;
    }
    void setOnIdleStateChanged(std::function<void(bool)> callback) override
    {
        std::lock_guard guard(m_lock);
        m_callback = std::move(callback);
    }
    MOCK_METHOD(void, startMonitoring, (double idleThreshold), (override));
    MOCK_METHOD(void, stopMonitoring, (), (override));

    // Reports a change from another thread, as the real monitor does.
    void report(bool userIsIdle)
    {
        std::thread([callback = onIdleStateChanged(), userIsIdle] {
            if (callback)
                callback(userIsIdle);
        }).join();
    }

private:
    mutable std::mutex m_lock;
    std::function<void(bool)> m_callback;
};

// One inhibit of a service that answers only when the test says so (or at once).
class FakeAssertion final : public PowerAssertion {
public:
    explicit FakeAssertion(std::shared_ptr<int> releaseCount)
        : releases(std::move(releaseCount))
    {
    }
    void acquire(const QString&, Done done) override
    {
        ++asked;
        pending = std::move(done);
        if (answersAtOnce)
            answer(*answersAtOnce);
    }
    void answer(bool ok)
    {
        held = ok;
        if (Done done = std::exchange(pending, nullptr))
            done(ok);
    }
    void release() override
    {
        pending = nullptr;
        *releases += held ? 1 : 0;
        held = false;
    }
    bool isHeld() const override { return held; }
    void setChangeHandler(ChangeHandler handler) override { onChange = std::move(handler); }
    // The service went away: the inhibit is gone without our release.
    void lose()
    {
        held = false;
        onChange(Change::lost);
    }
    void comeBack() { onChange(Change::available); }

    std::shared_ptr<int> releases; // shared by the pair, and outlives it
    std::optional<bool> answersAtOnce;
    int asked = 0;
    bool held = false;
    Done pending;
    ChangeHandler onChange;
};

// The real pair over two fake inhibits.
struct FakeAssertionPair {
    std::shared_ptr<int> releases = std::make_shared<int>(0);
    FakeAssertion* display = new FakeAssertion(releases);
    FakeAssertion* idle = new FakeAssertion(releases);
    std::shared_ptr<SystemSleepPreventer> preventer = std::make_shared<SystemSleepPreventer>(
        std::unique_ptr<PowerAssertion>(display), std::unique_ptr<PowerAssertion>(idle));
    bool held() const { return display->held && idle->held; }
};

class MockScheduleManager : public ScheduleManaging {
public:
    MockScheduleManager()
    {
        ON_CALL(*this, start(::testing::_, ::testing::_, ::testing::_))
            .WillByDefault([this](const std::vector<ScheduleEntry>&, ActivateCallback a, DeactivateCallback d) {
                activate = std::move(a);
                deactivate = std::move(d);
            });
    }
    MOCK_METHOD(void, start, (const std::vector<ScheduleEntry>&, ActivateCallback, DeactivateCallback), (override));
    MOCK_METHOD(void, stop, (), (override));
    MOCK_METHOD(void, updateEntries, (const std::vector<ScheduleEntry>&), (override));
    ActivateCallback activate;
    DeactivateCallback deactivate;
};

class MockAccessibility : public AccessibilityChecking {
public:
    MOCK_METHOD(bool, isTrusted, (), (const, override));
    MOCK_METHOD(bool, requestAccess, (bool prompt), (override));
};

class MockNotificationCenter : public NotificationCenter {
public:
    MockNotificationCenter()
    {
        // Answers later on the main thread, as the real center does.
        ON_CALL(*this, requestAuthorization(::testing::_)).WillByDefault([this](std::function<void(bool)> done) {
            const bool granted = grants;
            dispatch::async(QCoreApplication::instance(), [done, granted] { done(granted); });
        });
    }
    MOCK_METHOD(void, requestAuthorization, (std::function<void(bool granted)> completion), (override));
    MOCK_METHOD(void, deliver, (const QString& title, const QString& body, const QString& identifier), (override));
    bool grants = true;
};

class MockSoundPlayer : public SoundPlayer {
public:
    MOCK_METHOD(void, play, (const QString& name), (override));
};

class MockAppActivating : public AppActivating {
public:
    MockAppActivating()
    {
        ON_CALL(*this, isAppRunning(::testing::_)).WillByDefault(::testing::Return(true));
        ON_CALL(*this, launchApp(::testing::_)).WillByDefault(::testing::Return(QtFuture::makeReadyFuture(true)));
    }
    MOCK_METHOD(void, activateApp, (const QString& bundleIdentifier), (override));
    MOCK_METHOD(QFuture<bool>, launchApp, (const QUrl& url), (override));
    MOCK_METHOD(bool, isAppRunning, (const QString& bundleIdentifier), (override));
};

} // namespace tremlor::testing
