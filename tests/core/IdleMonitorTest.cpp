#include "Engine/DirazUvuraLogger.h"
#include "Engine/IdleDetector.h"
#include "core/InputFakes.h"

#include <QFile>
#include <QLoggingCategory>

#include <array>
#include <cmath>

using namespace tremlor;
using namespace tremlor::testing;

namespace {

constexpr double never = 63113904000.0;

// Read by the monitor's queue only during a check, which ends before the test goes on.
class FakeIdleSource final : public InputIdleSource {
public:
    QPointF cursorLocation() override
    {
        if (onCursorRead)
            onCursorRead();
        return cursor;
    }
    double secondsSinceLastEvent(InputEventType type) override { return seconds[static_cast<std::size_t>(type)]; }
    void typedAgo(InputEventType type, double ago) { seconds[static_cast<std::size_t>(type)] = ago; }

    QPointF cursor { 100, 200 };
    std::array<double, 6> seconds { never, never, never, never, never, never };
    std::function<void()> onCursorRead;
};

struct MonitorRig {
    MonitorRig()
    {
        DirazUvuraLogger::setSink([this](DirazUvuraLogger::Level, const QString& line) {
            std::lock_guard guard(logLock);
            log.push_back(line);
        });
        MouseMover::setSyntheticMoving(false);
        MouseMover::setLastSyntheticPosition({ 0, 0 });
        MouseMover::setLastSyntheticNonMouseTime(distantPast);
        monitor = std::make_unique<SystemIdleMonitor>(source, SystemIdleMonitor::Seams { clock, timers });
        monitor->setOnIdleStateChanged([this](bool idle) {
            std::lock_guard guard(logLock);
            reports.push_back(idle);
        });
    }
    ~MonitorRig()
    {
        monitor.reset();
        DirazUvuraLogger::setSink({});
    }
    void start(double threshold)
    {
        monitor->startMonitoring(threshold);
        monitor->waitUntilIdle();
    }
    // One check, a second after the previous one.
    void check()
    {
        clock->advance(std::chrono::seconds(1));
        ASSERT_TRUE(timers->fireLast());
    }
    std::vector<QString> lines()
    {
        std::lock_guard guard(logLock);
        return std::exchange(log, {});
    }

    std::shared_ptr<FakeIdleSource> source = std::make_shared<FakeIdleSource>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ManualTimers> timers = std::make_shared<ManualTimers>();
    std::mutex logLock;
    std::vector<QString> log;
    std::vector<bool> reports;
    std::unique_ptr<SystemIdleMonitor> monitor;
};

} // namespace

// Starts idle; the mover's own moves and small drift are not the user, a real move is at once,
// and idle is reported at the first check past the threshold.
TEST(IdleMonitor, OnlyTheUsersMovesWakeItAndIdleComesBackAtTheThreshold)
{
    MonitorRig rig;
    MouseMover::setLastSyntheticPosition({ 12.9, -3.7 });
    rig.start(30);
    EXPECT_TRUE(rig.monitor->isUserIdle());
    ASSERT_EQ(rig.timers->count(), 1u);
    EXPECT_EQ(rig.lines(),
        std::vector<QString> {
            QString::fromUtf8("START monitoring \u2014 threshold=30s initIdle=Y initPos=(100,200) synthPos=(12,-3)") });
    rig.source->cursor = { 102, 198 }; // drift of two points
    rig.check();
    MouseMover::setSyntheticMoving(true);
    rig.source->cursor = { 400, 400 };
    rig.check();
    MouseMover::setSyntheticMoving(false);
    // A move that ends within five points of where the mover left the cursor.
    MouseMover::setLastSyntheticPosition({ 800, 300 });
    rig.source->cursor = { 805, 295 };
    rig.check();
    EXPECT_TRUE(rig.monitor->isUserIdle());
    EXPECT_TRUE(rig.reports.empty());

    rig.source->cursor = { 806, 300 };
    rig.check(); // a real move at t = 4: it ends six points from where the mover left the cursor
    EXPECT_FALSE(rig.monitor->isUserIdle());
    EXPECT_EQ(rig.reports, std::vector<bool> { false });
    for (int second = 1; second < 30; ++second) {
        rig.check();
        EXPECT_FALSE(rig.monitor->isUserIdle()) << second;
    }
    rig.check();
    EXPECT_EQ(rig.reports, (std::vector<bool> { false, true }));
    // A detail line at each change (with its state line), at the real move and every tenth check.
    QStringList logged;
    for (const QString& line : rig.lines())
        logged << line.section(' ', 0, 0);
    EXPECT_EQ(logged.join(' '), "#4 *** #10 #20 #30 #34 ***");
}

TEST(IdleMonitor, OwnKeysDoNotWakeButLaterOnesDo)
{
    MonitorRig rig;
    rig.start(30);
    for (int i = 0; i < 5; ++i) {
        // The program pressed a key 1.2 s before the check; the system saw one 0.3 s before it,
        // within a second of the program's: its own.
        MouseMover::setLastSyntheticNonMouseTime(rig.clock->monotonicNow() - std::chrono::milliseconds(200));
        rig.source->typedAgo(InputEventType::keyDown, 0.3);
        rig.check();
    }
    EXPECT_TRUE(rig.monitor->isUserIdle());
    // A click, key, scroll or drag 1.5 s after the program's last key: the user's.
    for (const auto type : { InputEventType::leftMouseDown, InputEventType::rightMouseDown, InputEventType::keyDown,
             InputEventType::scrollWheel, InputEventType::leftMouseDragged }) {
        rig.start(30);
        MouseMover::setLastSyntheticNonMouseTime(rig.clock->monotonicNow() - std::chrono::milliseconds(1000));
        rig.source->seconds.fill(never);
        rig.source->typedAgo(type, 0.5);
        rig.check();
        EXPECT_FALSE(rig.monitor->isUserIdle()) << static_cast<int>(type);
    }
}

TEST(IdleMonitor, StopLogsOnlyWithATimerAndAStaleCheckCannotPauseTheNextRun)
{
    MonitorRig rig;
    rig.monitor->stopMonitoring();
    EXPECT_TRUE(rig.lines().empty());
    rig.start(30);
    rig.lines();
    rig.monitor->stopMonitoring();
    EXPECT_EQ(rig.lines(), std::vector<QString> { "STOP monitoring" });
    EXPECT_EQ(rig.timers->liveCount(), 0u);

    // A check of the first run is under way when the engine restarts monitoring.
    rig.start(30);
    rig.source->typedAgo(InputEventType::keyDown, 0.2);
    bool restarted = false;
    rig.source->onCursorRead = [&] {
        if (!std::exchange(restarted, true))
            rig.monitor->startMonitoring(30);
    };
    rig.check();
    rig.monitor->waitUntilIdle();
    EXPECT_TRUE(restarted);
    EXPECT_TRUE(rig.monitor->isUserIdle());
    EXPECT_TRUE(rig.reports.empty());
    // The new run sees the same typing and reports it itself.
    rig.source->onCursorRead = nullptr;
    rig.check();
    EXPECT_EQ(rig.reports, std::vector<bool> { false });
}

// The engine's messages are checked where the engine logs them; here the one line built from
// coordinates the system hands over, which may be absurd.
TEST(DirazUvuraLogger, AbsurdCoordinatesAreClampedNotUndefined)
{
    QString line;
    DirazUvuraLogger::setSink([&](DirazUvuraLogger::Level, const QString& text) { line = text; });
    DirazUvuraLogger::monitoringStarted(1e300, { -1e300, 7.9 }, { std::nan(""), -0.9 });
    DirazUvuraLogger::setSink({});
    EXPECT_TRUE(line.contains("initPos=(-9200000000000000000,7) synthPos=(0,0)")) << line.toStdString();
}

// Debug lines print only when the logging rules ask for them; info lines always.
TEST(DirazUvuraLogger, DebugLinesAreOffUnlessTheRulesTurnThemOn)
{
    if (QFile::exists(QStringLiteral("/run/systemd/journal/socket")))
        GTEST_SKIP() << "lines go to the journal here";
    static QStringList printed;
    printed.clear();
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { printed << text; });
    DirazUvuraLogger::engineDisabled();
    DirazUvuraLogger::userIdle();
    QLoggingCategory::setFilterRules(QStringLiteral("com.tremlor.app.DirazUvura.debug=true"));
    DirazUvuraLogger::engineDisabled();
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    EXPECT_EQ(printed.size(), 2);
    EXPECT_TRUE(printed.value(0).startsWith("ENGINE: user idle")) << printed.join('|').toStdString();
    EXPECT_TRUE(printed.value(1).startsWith("ENGINE: smartIdle DISABLED"));
}
