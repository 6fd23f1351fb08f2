#include "DBusMockProbe.h"
#include "Engine/CaffeineManager.h"
#include "Platform/DBus/BusLink.h"
#include "Platform/DBus/DisplaySleepInhibitor.h"
#include "Platform/DBus/LogindInhibitor.h"
#include "Platform/DBus/SystemSleepPreventer.h"
#include "support/ScreenSaverMock.h"
#include "support/TestDesktop.h"

#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

using namespace tremlor;
using probe::waitUntil;

namespace {

// Asks for the pair and runs the event loop until both answers are in; true when held.
bool take(SystemSleepPreventer& preventer)
{
    preventer.preventSleep(kReason);
    return waitUntil([&] { return !preventer.isTaking(); }) && preventer.isPreventingSleep();
}

// A private desktop with logind's mock already up, and probes on both buses.
struct Inhibits : ::testing::Test {
    TestDesktop desktop;
    QTemporaryDir templates;
    std::unique_ptr<probe::Bus> system, session;
    DisplaySleepInhibitor* displayHalf = nullptr;
    QProcess* logind = nullptr;

    void SetUp() override
    {
        REQUIRE_DESKTOP(desktop);
        ASSERT_TRUE(startLogind()) << desktop.error().toStdString();
        system = std::make_unique<probe::Bus>(desktop.systemBusAddress());
        session = std::make_unique<probe::Bus>(desktop.sessionBusAddress());
    }
    QProcess* startLogind()
    {
        return logind
            = desktop.startDbusMock(TestDesktop::Bus::system, "org.freedesktop.login1", { "--template", "logind" });
    }
    QProcess* startScreenSaver(const QString& path = kScreenSaverPath, const QString& inhibitCode = "ret = 7")
    {
        QProcess* mock = desktop.startDbusMock(TestDesktop::Bus::session, kScreenSaver,
            { "--template", screenSaverTemplate(templates, path, inhibitCode) });
        EXPECT_TRUE(mock) << desktop.error().toStdString();
        return mock;
    }
    std::vector<probe::Call> calls(const QString& method, const QString& path = kScreenSaverPath)
    {
        return session->calls(kScreenSaver, path, method);
    }
    // logind's Inhibit answers with an access-denied error from now on.
    void makeLogindRefuse()
    {
        const QDBusMessage replaced = system->call("org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.DBus.Mock", "AddMethod",
            { "org.freedesktop.login1.Manager", "Inhibit", "ssss", "h",
                "raise dbus.exceptions.DBusException('refused', name='org.freedesktop.DBus.Error.AccessDenied')" });
        ASSERT_EQ(replaced.type(), QDBusMessage::ReplyMessage) << replaced.errorMessage().toStdString();
    }

    // The pair over the desktop's buses; keeps a view of the display half.
    std::unique_ptr<SystemSleepPreventer> makePreventer(QByteArray display = {})
    {
        auto displayInhibitor = std::make_unique<DisplaySleepInhibitor>(BusLink::toAddress(desktop.sessionBusAddress()),
            display.isEmpty() ? desktop.display().toLocal8Bit() : display);
        displayHalf = displayInhibitor.get();
        return std::make_unique<SystemSleepPreventer>(std::move(displayInhibitor),
            std::make_unique<LogindInhibitor>(BusLink::toAddress(desktop.systemBusAddress())));
    }
};

} // namespace

// The whole pair for real: the screensaver service gets Inhibit and later UnInhibit with its
// cookie, logind lists our lock while held and drops it once our descriptor is closed. Losing
// the screensaver service turns the whole pair off, and its return takes it again.
TEST_F(Inhibits, PairReachesScreenSaverAndLogindAndIsGivenBack)
{
    for (const QString& path : { kScreenSaverPath, QStringLiteral("/ScreenSaver") }) {
        SCOPED_TRACE(path.toStdString());
        QProcess* screenSaver = startScreenSaver(path);
        ASSERT_TRUE(screenSaver);
        std::shared_ptr<SystemSleepPreventer> preventer = makePreventer();
        CaffeineManager caffeine(preventer);

        caffeine.enable();
        EXPECT_TRUE(waitUntil([&] { return preventer->isPreventingSleep(); }));
        EXPECT_TRUE(displayHalf->isHeldByService());
        const auto inhibits = calls("Inhibit", path);
        ASSERT_EQ(inhibits.size(), 1u);
        EXPECT_EQ(inhibits[0].args, (QVariantList { "Tremlor", kReason }));
        EXPECT_EQ(system->inhibitors(), QStringList { kOurLock });

        TestDesktop::stop(screenSaver);
        EXPECT_TRUE(waitUntil([&] { return !preventer->isPreventingSleep(); }));
        EXPECT_TRUE(waitUntil([&] { return system->inhibitors().isEmpty(); })); // both or neither
        ASSERT_TRUE(screenSaver = startScreenSaver(path));
        EXPECT_TRUE(waitUntil([&] { return preventer->isPreventingSleep() && displayHalf->isHeldByService(); }));
        EXPECT_EQ(calls("Inhibit", path).size(), 1u);
        EXPECT_EQ(system->inhibitors(), QStringList { kOurLock });

        caffeine.disable();
        EXPECT_FALSE(preventer->isPreventingSleep());
        EXPECT_TRUE(waitUntil([&] { return calls("UnInhibit", path).size() == 1; }));
        EXPECT_EQ(calls("UnInhibit", path)[0].args, QVariantList { 7u });
        EXPECT_TRUE(waitUntil([&] { return system->inhibitors().isEmpty(); }))
            << system->inhibitors().join(", ").toStdString();
        TestDesktop::stop(screenSaver);
    }
}

// Both services go away and come back one after the other. Whichever is first, the pair ends
// up held through both: logind first must not leave the display on the X server's suspension
// while a screensaver service runs again.
TEST_F(Inhibits, PairIsTakenAgainThroughBothServicesWhicheverReturnsFirst)
{
    for (const bool logindFirst : { true, false }) {
        SCOPED_TRACE(logindFirst ? "logind first" : "screensaver first");
        QProcess* screenSaver = startScreenSaver();
        ASSERT_TRUE(screenSaver);
        auto preventer = makePreventer();
        ASSERT_TRUE(take(*preventer));
        TestDesktop::stop(logind);
        TestDesktop::stop(screenSaver);
        ASSERT_TRUE(waitUntil([&] { return !preventer->isPreventingSleep(); }));

        // The first one back is served before the other returns.
        if (logindFirst) {
            ASSERT_TRUE(startLogind());
            ASSERT_TRUE(waitUntil([&] { return preventer->isPreventingSleep(); }));
            ASSERT_TRUE(screenSaver = startScreenSaver());
        } else {
            ASSERT_TRUE(screenSaver = startScreenSaver());
            ASSERT_TRUE(waitUntil([&] { return calls("Inhibit").size() == 1 && !preventer->isTaking(); }));
            ASSERT_TRUE(startLogind());
        }
        EXPECT_TRUE(waitUntil([&] { return preventer->isPreventingSleep() && displayHalf->isHeldByService(); }));
        // Exactly one cookie is out (a half-made pair in between was given back).
        EXPECT_TRUE(waitUntil([&] { return calls("Inhibit").size() == calls("UnInhibit").size() + 1; }));
        EXPECT_EQ(system->inhibitors(), QStringList { kOurLock });
        preventer.reset();
        TestDesktop::stop(screenSaver);
    }
}

TEST_F(Inhibits, WithoutScreenSaverTheXServerHoldsTheDisplayAndARefusingLogindRollsItBack)
{
    auto preventer = makePreventer();
    EXPECT_TRUE(take(*preventer));
    EXPECT_TRUE(displayHalf->isHeld());
    EXPECT_FALSE(displayHalf->isHeldByService());
    preventer->allowSleep();
    EXPECT_FALSE(displayHalf->isHeld());

    // No display inhibit at all: logind's lock is rolled back, not left behind.
    auto blind = makePreventer(TestDesktop::absentDisplay().toLocal8Bit());
    EXPECT_FALSE(take(*blind));
    EXPECT_TRUE(waitUntil([&] { return system->inhibitors().isEmpty(); }));

    // A screensaver service, and logind refusing: the display inhibit is rolled back.
    blind.reset(); // still wanted: it would ask the service too
    ASSERT_TRUE(startScreenSaver());
    ASSERT_NO_FATAL_FAILURE(makeLogindRefuse());

    auto refused = makePreventer();
    EXPECT_FALSE(take(*refused));
    EXPECT_FALSE(refused->isPreventingSleep());
    EXPECT_FALSE(displayHalf->isHeld());
    EXPECT_EQ(calls("Inhibit").size(), 1u);
    EXPECT_TRUE(waitUntil([&] { return calls("UnInhibit").size() == 1; }));
}

// A Start press returns before a slow service answers; after the short deadline the X server
// keeps the display awake instead, and the inhibit the service grants later is given back.
TEST_F(Inhibits, SlowServiceHoldsNobodyUpAndItsLateInhibitIsGivenBack)
{
    ASSERT_TRUE(startScreenSaver(kScreenSaverPath, "import time; time.sleep(1.5); ret = 9"));
    auto preventer = makePreventer();
    preventer->preventSleep(kReason);
    EXPECT_TRUE(preventer->isTaking()); // back before any answer
    EXPECT_FALSE(preventer->isPreventingSleep());
    EXPECT_TRUE(waitUntil([&] { return !preventer->isTaking(); }));
    EXPECT_TRUE(preventer->isPreventingSleep());
    EXPECT_FALSE(displayHalf->isHeldByService());
    EXPECT_TRUE(waitUntil([&] {
        const auto unInhibits = calls("UnInhibit");
        return unInhibits.size() == 1 && unInhibits[0].args == QVariantList { 9u };
    }));
    EXPECT_EQ(calls("Inhibit").size(), 1u);
}

// The manager reports what is held. A screensaver service that refuses at first (and no X
// server to fall back on) leaves the pair off; what the engine does at the next change of a
// setting asks again, and a second change before the answer asks nothing more.
TEST_F(Inhibits, RefusedPairIsAskedForAgainButNotTwiceWhileTheAnswerIsDue)
{
    ASSERT_TRUE(startScreenSaver(kScreenSaverPath,
        "self.asked = getattr(self, \"asked\", 0) + 1\\n"
        "if self.asked == 1: raise dbus.exceptions.DBusException(\"busy\", "
        "name=\"org.freedesktop.DBus.Error.AccessDenied\")\\n"
        "ret = 5"));
    std::shared_ptr<SystemSleepPreventer> preventer = makePreventer(TestDesktop::absentDisplay().toLocal8Bit());
    CaffeineManager caffeine(preventer);
    const auto settingChanged = [&] {
        if (!caffeine.isEnabled())
            caffeine.enable();
    };
    settingChanged();
    ASSERT_TRUE(waitUntil([&] { return !preventer->isTaking(); }));
    EXPECT_FALSE(caffeine.isEnabled());
    EXPECT_TRUE(waitUntil([&] { return system->inhibitors().isEmpty(); }));

    settingChanged();
    settingChanged();
    EXPECT_TRUE(waitUntil([&] { return caffeine.isEnabled(); }));
    EXPECT_EQ(calls("Inhibit").size(), 2u);
    EXPECT_EQ(system->calls("org.freedesktop.login1", "/org/freedesktop/login1", "Inhibit").size(), 2u);
    EXPECT_EQ(system->inhibitors(), QStringList { kOurLock });
    caffeine.disable();
    EXPECT_TRUE(waitUntil([&] { return calls("UnInhibit").size() == 1; }));
}

// logind refuses for good; once it appears anew on the bus, the pair is asked for again and held
// with no settings change.
TEST_F(Inhibits, RefusedPairIsTakenWhenTheRefusingServiceAppearsAgain)
{
    ASSERT_TRUE(startScreenSaver());
    ASSERT_NO_FATAL_FAILURE(makeLogindRefuse());
    const auto preventer = makePreventer(TestDesktop::absentDisplay().toLocal8Bit());
    ASSERT_FALSE(take(*preventer));
    TestDesktop::stop(logind);
    ASSERT_TRUE(startLogind()) << desktop.error().toStdString();
    EXPECT_TRUE(waitUntil([&] { return preventer->isPreventingSleep(); }));
    EXPECT_EQ(calls("Inhibit").size(), 2u);
    EXPECT_EQ(system->inhibitors(), QStringList { kOurLock });
}

namespace {

// A bus daemon of the test's own at a fixed socket path, so it can be stopped and started
// again at the same address.
class RestartableBus {
public:
    RestartableBus() { start(); }
    ~RestartableBus() { stop(); }
    Q_DISABLE_COPY_MOVE(RestartableBus)

    QString address() const { return "unix:path=" + m_dir.filePath("bus"); }
    bool start()
    {
        QFile::remove(m_dir.filePath("bus"));
        m_daemon = std::make_unique<QProcess>();
        m_daemon->start("dbus-daemon", { "--session", "--nofork", "--print-address=1", "--address=" + address() });
        return m_daemon->waitForStarted(5000) && m_daemon->waitForReadyRead(5000);
    }
    void stop()
    {
        for (auto& mock : m_mocks)
            TestDesktop::stop(mock.get());
        m_mocks.clear();
        TestDesktop::stop(m_daemon.get());
    }
    // Starts dbusmock on this bus (as session and system bus alike) and waits for its name.
    bool startMock(const QString& name, const QStringList& args)
    {
        auto mock = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address());
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", address());
        mock->setProcessEnvironment(env);
        mock->setStandardOutputFile(QProcess::nullDevice());
        mock->setStandardErrorFile(QProcess::nullDevice());
        mock->start("/usr/bin/python3", QStringList { "-m", "dbusmock" } + args);
        if (!mock->waitForStarted(5000))
            return false;
        m_mocks.push_back(std::move(mock));
        probe::Bus bus(address());
        return waitUntil([&] { return bus.connection().interface()->isServiceRegistered(name).value(); }, 15000);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_daemon;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
};

} // namespace

// The bus itself goes away (and comes back at the same address): the held pair reads as
// lost, and is taken again once the services are back.
TEST(InhibitsOnARestartingBus, LossIsReportedAndThePairIsTakenAgain)
{
    QTemporaryDir templates;
    RestartableBus bus;
    const auto startServices = [&] {
        return bus.startMock("org.freedesktop.login1", { "--system", "--template", "logind" })
            && bus.startMock(
                kScreenSaver, { "--session", "--template", screenSaverTemplate(templates, kScreenSaverPath) });
    };
    ASSERT_TRUE(startServices());
    auto sessionLink = BusLink::toAddress(bus.address()), systemLink = BusLink::toAddress(bus.address());
    for (const auto& link : { sessionLink, systemLink })
        link->setRetryInterval(50);
    SystemSleepPreventer preventer(
        std::make_unique<DisplaySleepInhibitor>(sessionLink, TestDesktop::absentDisplay().toLocal8Bit()),
        std::make_unique<LogindInhibitor>(systemLink));
    ASSERT_TRUE(take(preventer));

    bus.stop();
    EXPECT_TRUE(waitUntil([&] { return !preventer.isPreventingSleep(); }));

    ASSERT_TRUE(bus.start());
    ASSERT_TRUE(startServices());
    EXPECT_TRUE(waitUntil([&] { return preventer.isPreventingSleep(); }, 10000));
    probe::Bus probeBus(bus.address());
    EXPECT_EQ(probeBus.inhibitors(), QStringList { kOurLock });
}
