#pragma once

// The engine over fakes of every service, and helpers to drive it without waiting.

#include "Engine/AppActivator.h"
#include "Engine/CaffeineManager.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/DurationTimer.h"
#include "Engine/ProfileManager.h"
#include "Engine/TickSource.h"
#include "Engine/TremlorEngine.h"
#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"
#include "core/EngineTestDoubles.h"
#include "core/InputFakes.h"
#include "support/FakeClock.h"
#include "support/ScheduleWindow.h"

#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace tremlor::testing {

using ::testing::_;
using ::testing::NiceMock;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        defaults = std::make_unique<UserDefaults>(dir.path());
        settings = std::make_unique<TremlorSettings>(*defaults);
        ON_CALL(*workspace, activateApp(_)).WillByDefault([this](const QString& id) {
            std::lock_guard guard(recordLock);
            activated.push_back(id);
        });
        ON_CALL(*accessibility, isTrusted()).WillByDefault(::testing::Return(true));
        inhibits.display->answersAtOnce = inhibits.idle->answersAtOnce = true;
        // Installed, not selected: each test selects what it rotates through.
        for (const QString& name : { QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma") }) {
            const QString id = name.left(1).toLower();
            installed[id] = AppInfo(id, name, QStringLiteral("/usr/share/applications/%1.desktop").arg(id));
        }
        DirazUvuraLogger::setSink([this](DirazUvuraLogger::Level, const QString& message) {
            std::lock_guard guard(recordLock);
            log.push_back(message);
        });
    }

    void TearDown() override
    {
        // The services' queues finish their work before the records they write go away.
        engine.reset();
        activator.reset();
        DirazUvuraLogger::setSink({});
    }

    void makeEngine(bool fromProgram = true)
    {
        engine.reset();
        engine = std::make_unique<TremlorEngine>(*settings, services(fromProgram));
    }

    // The fakes of every service, with a fresh mover, activator and timer.
    TremlorEngine::Services services(bool fromProgram = true)
    {
        mover = std::make_shared<FakeMover>();
        activator = std::make_shared<AppActivator>(workspace, draws);
        timer = std::make_shared<DurationTimer>(ticks);
        const auto lookup = [this](const QString& id) -> std::optional<AppInfo> {
            const auto found = installed.find(id);
            return found == installed.end() ? std::nullopt : std::optional(found->second);
        };
        return { mover, activator, timer, idle, caffeine, schedule, std::make_shared<ProfileManager>(*settings),
            accessibility, notifications, sound, lookup, fromProgram, clock };
    }

    // Runs the main queue until nothing more is posted by the engine or its services.
    void settle()
    {
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }

    // Runs the main queue until pred holds (work crosses the activator's queue), at most 2 s.
    template <typename Pred> bool waitFor(Pred pred) { return QTest::qWaitFor(pred, 2000); }

    void fireTicks(int count)
    {
        for (int i = 0; i < count; ++i)
            ticks->fire();
    }

    int activationCount()
    {
        std::lock_guard guard(recordLock);
        return static_cast<int>(activated.size());
    }

    bool logged(const QString& message)
    {
        std::lock_guard guard(recordLock);
        return std::find(log.begin(), log.end(), message) != log.end();
    }

    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<TremlorSettings> settings;
    std::shared_ptr<FakeMover> mover;
    ScriptedRandom draws; // the activator's random choice
    std::shared_ptr<AppActivator> activator;
    std::shared_ptr<DurationTimer> timer;
    std::shared_ptr<NiceMock<MockAppActivating>> workspace = std::make_shared<NiceMock<MockAppActivating>>();
    std::shared_ptr<ManualTickSource> ticks = std::make_shared<ManualTickSource>();
    std::shared_ptr<NiceMock<MockIdleMonitor>> idle = std::make_shared<NiceMock<MockIdleMonitor>>();
    FakeAssertionPair inhibits; // answered at once
    std::shared_ptr<CaffeineManager> caffeine = std::make_shared<CaffeineManager>(inhibits.preventer);
    std::shared_ptr<NiceMock<MockScheduleManager>> schedule = std::make_shared<NiceMock<MockScheduleManager>>();
    std::shared_ptr<NiceMock<MockAccessibility>> accessibility = std::make_shared<NiceMock<MockAccessibility>>();
    std::shared_ptr<NiceMock<MockNotificationCenter>> notifications
        = std::make_shared<NiceMock<MockNotificationCenter>>();
    std::shared_ptr<NiceMock<MockSoundPlayer>> sound = std::make_shared<NiceMock<MockSoundPlayer>>();
    std::map<QString, AppInfo> installed;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();

    std::mutex recordLock;
    std::vector<QString> activated;
    std::vector<QString> log;

    std::unique_ptr<TremlorEngine> engine;
};

} // namespace tremlor::testing
