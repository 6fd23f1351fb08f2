// Whole-engine figures on a private desktop (Xvfb, openbox, logind and screensaver mocks):
// start-to-first-movement latency, stop latency including the release of both inhibits, and
// the resident size of the core after start-up, after a 60-second session and across 100
// start/stop cycles. Prints its figures; nothing is asserted.

#include "CompositionRoot.h"
#include "Engine/DirazUvuraLogger.h"
#include "Engine/MouseMover.h"
#include "Engine/TremlorEngine.h"
#include "Models/TremlorSettings.h"
#include "Platform/MouseMoving.h"
#include "Platform/Random.h"
#include "Platform/UserDefaults.h"
#include "Platform/X11/SystemMouseMover.h"
#include "PreciseWait.h"
#include "support/ScreenSaverMock.h"
#include "support/TestDesktop.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tremlor;
using Steady = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0.0;
}

// The real poster, stamping the time of the first cursor move after each reset.
class StampingMover final : public MouseMoving {
public:
    StampingMover()
        : m_real(std::make_shared<SystemMouseMover>())
    {
    }
    void reset() { m_first.store(Steady::time_point {}); }
    Steady::time_point firstMove() const { return m_first.load(); }

    void click(QPointF at) override { m_real->click(at); }
    void pressKey(quint16 keyCode) override { m_real->pressKey(keyCode); }
    void moveCursor(QPointF to) override
    {
        Steady::time_point none {};
        m_first.compare_exchange_strong(none, Steady::now());
        m_real->moveCursor(to);
    }
    void postKey(quint16 keyCode, bool down) override { m_real->postKey(keyCode, down); }
    void scroll(int v, int h) override { m_real->scroll(v, h); }
    QPointF cursorLocation() override { return m_real->cursorLocation(); }
    QRectF displayBounds(QPointF point) override { return m_real->displayBounds(point); }
    QRectF screenBounds() override { return m_real->screenBounds(); }
    void releaseAll() override { m_real->releaseAll(); }

private:
    std::shared_ptr<SystemMouseMover> m_real;
    std::atomic<Steady::time_point> m_first {};
};

// The lowest value of every range: a fixed first delay of 0.8 s at a 1-second interval.
class LowRandom final : public RandomSource {
public:
    double uniformReal(double a, double) override { return a; }
    std::int64_t uniformInt(std::int64_t a, std::int64_t) override { return a; }
};

int logindInhibitorCount(QDBusConnection& system)
{
    const QDBusMessage reply
        = system.call(QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                          "org.freedesktop.login1.Manager", "ListInhibitors"),
            QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    const auto array = reply.arguments().constFirst().value<QDBusArgument>();
    int count = 0;
    array.beginArray();
    while (!array.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        array.beginStructure();
        array >> what >> who >> why >> mode >> uid >> pid;
        array.endStructure();
        ++count;
    }
    array.endArray();
    return count;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DirazUvuraLogger::setSink([](DirazUvuraLogger::Level, const QString&) {});
    const int runs = 15;

    TestDesktop desktop;
    if (!desktop.ok()) {
        std::printf("private desktop did not start: %s\n", qPrintable(desktop.error()));
        return 0; // nothing to measure here; the other programs still run
    }
    QTemporaryDir templates;
    const QString screenSaver
        = screenSaverTemplate(templates, QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("ret = 5"));
    if (!desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" })
        || !desktop.startDbusMock(
            TestDesktop::Bus::session, "org.freedesktop.ScreenSaver", { "--template", screenSaver })) {
        std::printf("mocks did not start: %s\n", qPrintable(desktop.error()));
        return 0; // nothing to measure here; the other programs still run
    }
    QDBusConnection system = QDBusConnection::connectToBus(desktop.systemBusAddress(), "bench-system");

    const double baseline = residentMiB();
    CompositionRoot root;
    TremlorSettings& settings = root.settings();
    settings.setCaffeineEnabled(true);
    settings.setMaxInterval(1.0);
    settings.setSimulateKeyboard(false);
    QCoreApplication::processEvents();
    const double afterStartup = residentMiB();

    // Latencies, with the real poster stamped and a fixed first delay of 0.8 s.
    {
        auto poster = std::make_shared<StampingMover>();
        MouseMover::Seams seams;
        seams.random = std::make_shared<LowRandom>();
        CompositionRoot::Services services;
        services.engine.mouseMover = std::make_shared<MouseMover>(poster, seams);
        CompositionRoot timed(settings, std::move(services));
        TremlorEngine& engine = timed.engine();
        std::vector<double> firstMove, startCall, stopCall, released;
        int heldDuringSession = 0;
        for (int i = 0; i < runs; ++i) {
            poster->reset();
            const auto started = Steady::now();
            engine.start(Duration::hours1());
            startCall.push_back(std::chrono::duration<double, std::milli>(Steady::now() - started).count());
            if (!waitUntil([&] { return poster->firstMove() != Steady::time_point {}; }, 5000)) {
                std::printf("no movement within 5 s\n");
                return 0;
            }
            firstMove.push_back(std::chrono::duration<double, std::milli>(poster->firstMove() - started).count());
            if (waitUntil([&] { return logindInhibitorCount(system) == 1; }, 2000))
                ++heldDuringSession;

            const auto stopping = Steady::now();
            engine.stop(false);
            const auto returned = Steady::now();
            waitUntil([&] { return logindInhibitorCount(system) == 0; }, 2000);
            const auto gone = Steady::now();
            stopCall.push_back(std::chrono::duration<double, std::milli>(returned - stopping).count());
            released.push_back(std::chrono::duration<double, std::milli>(gone - stopping).count());
        }
        std::printf("start to first movement: median %.1f ms (drawn delay 800 ms, overhead %.2f ms), %d runs\n",
            median(firstMove), median(firstMove) - 800.0, runs);
        std::printf("start() call incl. asking for both inhibits: median %.2f ms; inhibits held in %d of %d sessions\n",
            median(startCall), heldDuringSession, runs);
        std::printf("stop() call incl. releasing both inhibits: median %.2f ms\n", median(stopCall));
        std::printf("stop to logind listing no inhibitor: median %.2f ms\n", median(released));
    }

    // Memory of the composition root with the system's services.
    TremlorEngine& engine = root.engine();
    engine.start(Duration::hours1());
    waitUntil([] { return false; }, 60000);
    engine.stop(false);
    QCoreApplication::processEvents();
    const double afterSession = residentMiB();
    for (int i = 0; i < 100; ++i) {
        engine.start(Duration::minutes15());
        QCoreApplication::processEvents();
        engine.stop(false);
        QCoreApplication::processEvents();
    }
    const double afterCycles = residentMiB();
    std::printf("resident size: %.1f MiB before the core, %.1f MiB after start-up, %.1f MiB after a 60-second "
                "session, %.1f MiB after 100 start/stop cycles (growth %.2f MiB)\n",
        baseline, afterStartup, afterSession, afterCycles, afterCycles - afterSession);
    return 0;
}
