#include "Engine/AppActivator.h"
#include "Engine/SystemAppActivator.h"
#include "Platform/X11/RunningApps.h"
#include "Platform/X11/WindowActivation.h"
#include "Platform/Xdg/DesktopEntryLookup.h"
#include "core/TempDefaults.h"
#include "support/EnvGuard.h"
#include "support/TestDesktop.h"

#include <QTest>

#include <csignal>

using namespace tremlor;

namespace {

class AppActivationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(desktop.ok()) << desktop.error().toStdString();
        folder = desktop.home() + "/.local/share/applications";
        display = x11::RunningApps::openDisplay(desktop.display());
        ASSERT_TRUE(display);
    }

    void writeEntry(const QString& id, const QByteArray& body)
    {
        writeFile(
            folder + "/" + id + ".desktop", "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\n" + body);
    }

    std::vector<unsigned long> windowsOf(const QString& id)
    {
        const auto entry = xdg::DesktopEntryLookup({ folder }).entry(id);
        return entry ? x11::RunningApps(display).windowsOf(*entry, { folder }) : std::vector<unsigned long> {};
    }

    // Polls the real server until the condition holds (the window manager works at its pace).
    template <typename F> static bool eventually(F condition) { return QTest::qWaitFor(condition, 15000); }

    TestDesktop desktop { TestDesktop::Options { .sessionBus = false, .systemBus = false, .serverArguments = {} } };
    QString folder;
    x11::DisplayHandle display;
};

} // namespace

// Launch two xterms through their desktop entries, see them running, then bring each to the
// front in rotation and read _NET_ACTIVE_WINDOW back from the window manager.
TEST_F(AppActivationTest, LaunchesThroughEntriesAndActivatesInRotation)
{
    writeEntry(
        "tremlor-term-one", "Exec=xterm -class TremlorTermOne -T \"Term one\" %U\nStartupWMClass=TremlorTermOne\n");
    writeEntry("tremlor-term-two", "Exec=xterm -name tremlor-term-two -T \"Term two\"\n"); // matched by its ID
    auto system = std::make_shared<SystemAppActivator>(display, QStringList { folder });
    const xdg::DesktopEntryLookup lookup({ folder });
    const std::vector<AppInfo> apps { *AppInfo::installed("tremlor-term-one", lookup),
        *AppInfo::installed("tremlor-term-two", lookup) };
    EXPECT_FALSE(system->isAppRunning("tremlor-term-one"));

    AppActivator activator(system);
    EXPECT_EQ(activator.activateNext(apps, RotationMode::sequential, true).result(), apps[0]);
    ASSERT_TRUE(eventually([&] { return windowsOf("tremlor-term-one").size() == 1; }));
    EXPECT_TRUE(system->isAppRunning("tremlor-term-one"));
    EXPECT_EQ(activator.activateNext(apps, RotationMode::sequential, true).result(), apps[1]);
    ASSERT_TRUE(eventually([&] { return windowsOf("tremlor-term-two").size() == 1; }));

    const unsigned long one = windowsOf("tremlor-term-one").front();
    const unsigned long two = windowsOf("tremlor-term-two").front();
    const x11::WindowActivation activation(display);
    ASSERT_TRUE(eventually([&] { return activation.activeWindow() == two; })); // the newest has focus

    EXPECT_EQ(activator.activateNext(apps, RotationMode::sequential, true).result(), apps[0]);
    EXPECT_TRUE(eventually([&] { return activation.activeWindow() == one; }));
    EXPECT_EQ(activator.activateNext(apps, RotationMode::sequential, false).result(), apps[1]);
    EXPECT_TRUE(eventually([&] { return activation.activeWindow() == two; }));
    // Running ones are activated, not started again.
    EXPECT_EQ(windowsOf("tremlor-term-one").size(), 1u);
    EXPECT_EQ(windowsOf("tremlor-term-two").size(), 1u);
}

// A window started by someone else is recognised by _NET_WM_PID against the entry's executable,
// even when neither its class nor its instance says which entry it belongs to.
TEST_F(AppActivationTest, RecognisesAWindowByItsProcess)
{
    writeEntry("plain-terminal", "Exec=xterm\n");
    writeEntry("other-tool", "Exec=xclock\n");
    // Started detached like a desktop would (a piped child xterm is sometimes seconds slow to map).
    QProcess starter;
    starter.setProgram("xterm");
    starter.setArguments({ "-class", "Unrelated", "-name", "unrelated" });
    starter.setProcessEnvironment(desktop.environment());
    qint64 pid = 0;
    ASSERT_TRUE(starter.startDetached(&pid));
    ASSERT_TRUE(desktop.waitForWindow("Unrelated", 15000));
    SystemAppActivator system(display, { folder });
    EXPECT_TRUE(eventually([&] { return system.isAppRunning("plain-terminal"); }));
    EXPECT_FALSE(system.isAppRunning("other-tool"));
    // The record asks the session's display ($DISPLAY) itself; nothing of ours was launched.
    const xdg::DesktopEntryLookup lookup({ folder });
    EXPECT_TRUE(AppInfo::installed("plain-terminal", lookup)->isRunning());
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}

// Two entries start xterm, one naming its window class: rotation launches it, and its window alone
// does not make the plain entry run. A launcher that hands over and leaves (no process of the
// entry's own lives on) maps a window whose class differs from the entry's in case: that entry
// runs all the same, so the next switch raises it instead of launching it again.
TEST_F(AppActivationTest, EntriesSharingAProgramKeepToTheirOwnWindows)
{
    writeEntry("scratch-term", "Exec=xterm -class ScratchTerm -T Scratch\nStartupWMClass=ScratchTerm\n");
    writeEntry("plain-xterm", "Exec=xterm\n");
    writeEntry("case-term", "Exec=sh -c \"xterm -class CaseTerm &\"\nStartupWMClass=caseterm\n");
    auto system = std::make_shared<SystemAppActivator>(display, QStringList { folder });
    const xdg::DesktopEntryLookup lookup({ folder });
    const AppInfo scratch = *AppInfo::installed("scratch-term", lookup);
    const AppInfo plain = *AppInfo::installed("plain-xterm", lookup);
    const AppInfo handedOver = *AppInfo::installed("case-term", lookup);
    EXPECT_FALSE(scratch.isRunning()); // as the panel's list asks
    AppActivator activator(system);
    EXPECT_EQ(activator.activateNext({ scratch, handedOver }, RotationMode::sequential, true).result(), scratch);
    EXPECT_EQ(activator.activateNext({ scratch, handedOver }, RotationMode::sequential, true).result(), handedOver);
    ASSERT_TRUE(
        eventually([&] { return windowsOf("scratch-term").size() == 1 && windowsOf("case-term").size() == 1; }));
    EXPECT_TRUE(system->isAppRunning("case-term"));
    EXPECT_FALSE(system->isAppRunning("plain-xterm"));
    QProcess* plainTerm = desktop.startProcess("xterm", {});
    ASSERT_TRUE(plainTerm && eventually([&] { return system->isAppRunning("plain-xterm"); }));
    EXPECT_EQ(windowsOf("scratch-term").size(), 1u);
    TestDesktop::stop(plainTerm);
    EXPECT_TRUE(eventually([&] { return !system->isAppRunning("plain-xterm"); }));
    EXPECT_TRUE(eventually([&] { return !plain.isRunning(); }));
    EXPECT_TRUE(scratch.isRunning());
}

// A launched process whose window cannot be matched (here: it has none) counts as running while
// it lives, so a rotation does not start it again every time.
TEST_F(AppActivationTest, ALaunchedProcessCountsAsRunningWhileAlive)
{
    const QString pidFile = desktop.home() + "/sleeper.pid";
    writeEntry("sleeper", "Exec=sh -c \"echo \\\\$\\\\$ >> " + pidFile.toUtf8() + "; exec sleep 600\"\n");
    writeEntry("broken", "Exec=\"unterminated\n");
    auto system = std::make_shared<SystemAppActivator>(display, QStringList { folder });
    const xdg::DesktopEntryLookup lookup({ folder });

    ASSERT_TRUE(system->launchApp(QUrl::fromLocalFile(lookup.entryPath("sleeper"))).result());
    ASSERT_TRUE(eventually([&] { return QFile(pidFile).size() > 0; }));
    const pid_t pid = readFile(pidFile).split('\n').first().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(system->isAppRunning("sleeper"));

    AppActivator activator(system);
    EXPECT_EQ(
        activator.activateNext({ *AppInfo::installed("sleeper", lookup) }, RotationMode::sequential, true).result(),
        AppInfo::installed("sleeper", lookup));
    ::kill(pid, SIGTERM);
    EXPECT_TRUE(eventually([&] { return !system->isAppRunning("sleeper"); }));
    // Still the one process we started: the rotation did not launch it a second time.
    EXPECT_EQ(readFile(pidFile).count('\n'), 1);

    EXPECT_FALSE(system->launchApp(QUrl::fromLocalFile(lookup.entryPath("broken"))).result());
    EXPECT_FALSE(system->launchApp(QUrl::fromLocalFile(folder + "/missing.desktop")).result());
}

// An entry that needs a terminal starts in the user's terminal: here a stand-in placed first on
// PATH, which notes the words it was given and runs the command after "-e" as a terminal would.
TEST_F(AppActivationTest, AnEntryThatNeedsATerminalStartsInTheTerminal)
{
    const QString bin = desktop.home() + "/bin", noted = desktop.home() + "/terminal-words";
    const auto executable = [](const QString& path, const QByteArray& script) {
        writeFile(path, "#!/bin/sh\n" + script);
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    };
    executable(bin + "/x-terminal-emulator",
        "printf '%s\\n' \"$@\" > \"$HOME/terminal-words.part\"\n"
        "mv \"$HOME/terminal-words.part\" \"$HOME/terminal-words\"\nshift\nexec \"$@\"\n");
    executable(bin + "/needs-tty", "touch \"$HOME/needs-tty-ran\"\n");
    const tremlor::testing::EnvGuard env { "PATH", "TERMINAL" };
    qputenv("PATH", (bin + ":").toUtf8() + qgetenv("PATH"));
    qunsetenv("TERMINAL");
    writeEntry("needs-tty", "Exec=needs-tty --flag \"two words\" %f\nTerminal=true\n");

    SystemAppActivator system(display, { folder });
    ASSERT_TRUE(system.launchApp(QUrl::fromLocalFile(folder + "/needs-tty.desktop")).result());
    ASSERT_TRUE(eventually([&] { return QFile::exists(noted); }));
    EXPECT_EQ(readFile(noted), "-e\n" + (bin + "/needs-tty\n--flag\ntwo words\n").toUtf8());
    EXPECT_TRUE(eventually([&] { return QFile::exists(desktop.home() + "/needs-tty-ran"); }));
}
