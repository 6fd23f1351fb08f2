// The real program under the Orca screen reader on a private desktop with a tray: what Orca speaks
// while a keyboard user walks the onboarding, the panel and the settings window.

#include "AppDesktop.h"
#include "core/TempDefaults.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/prctl.h>
#include <unistd.h>

using namespace tremlor;
using probe::waitUntil;

namespace {

// Orca and what it speaks: each phrase is a "SPEECH OUTPUT" line of its debug log. The log goes
// to a terminal, which Orca writes line by line; a file it writes only when a buffer fills.
class Orca final {
public:
    explicit Orca(const TestDesktop& desktop)
        : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        const QString terminal = QString::fromLocal8Bit(::ptsname(m_master));
        m_slave = ::open(qPrintable(terminal), O_RDWR | O_NOCTTY); // held, so it never hangs up
        // Orca refuses to start while an Orca of the same user runs anywhere (it asks pgrep), though
        // this desktop is a session of its own.
        const QString bin = desktop.home() + "/orca-bin";
        writeFile(bin + "/pgrep", "#!/bin/sh\nexit 1\n");
        QFile::setPermissions(bin + "/pgrep", QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env = desktop.environment();
        env.insert("PATH", bin + ":" + env.value("PATH"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start("orca", { "--disable=braille", "--debug-file=" + terminal });
    }
    ~Orca()
    {
        TestDesktop::stop(&m_process);
        ::close(m_slave);
        ::close(m_master);
    }

    // Waits until what Orca spoke after its first `from` phrases matches `pattern`. Orca speaks a
    // control in parts ("Set duration to 1 hour." then "selected radio button"): they are joined.
    bool waitFor(const QString& pattern, qsizetype from, int timeoutMs = 5000)
    {
        const QRegularExpression expression(pattern);
        return waitUntil(
            [&] {
                read();
                return expression.match(saidSince(from)).hasMatch();
            },
            timeoutMs);
    }
    // Waits until Orca has written nothing for a moment (it has caught up with the program's
    // events); the number of phrases it has spoken.
    qsizetype settle()
    {
        QDeadlineTimer quiet(400);
        waitUntil(
            [&] {
                if (read())
                    quiet.setRemainingTime(400);
                return quiet.hasExpired();
            },
            5000);
        return m_phrases.size();
    }
    std::string printed() { return m_process.readAll().toStdString(); }
    QString saidSince(qsizetype from) const { return m_phrases.mid(from).join(" | "); }

private:
    bool read()
    {
        static const QRegularExpression line(R"(SPEECH OUTPUT: '(.*?)' ?(\{.*\})?\r?$)");
        char chunk[65536];
        const qsizetype before = m_pending.size();
        for (ssize_t n = 0; (n = ::read(m_master, chunk, sizeof chunk)) > 0;)
            m_pending.append(chunk, n);
        const bool wrote = m_pending.size() > before;
        for (qsizetype end = 0; (end = m_pending.indexOf('\n')) >= 0; m_pending.remove(0, end + 1)) {
            if (const auto match = line.match(QString::fromUtf8(m_pending.left(end))); match.hasMatch())
                m_phrases << match.captured(1);
        }
        return wrote;
    }

    int m_master, m_slave = -1;
    QProcess m_process;
    QByteArray m_pending;
    QStringList m_phrases;
};

} // namespace

// Each page's title as Continue moves to it; the selected chip as the panel opens from the tray,
// the Profile box's value and an unticked row's state; in the settings window the combo boxes'
// values, the profile Down moves to, and the stepper's value at its limit with the keyboard on it.
TEST(ScreenReader, OrcaSpeaksPagesValuesAndStatesInEveryWindow)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    apptest::XWindows x(desktop.display());
    ASSERT_TRUE(desktop.startProcess("/usr/libexec/at-spi-bus-launcher", { "--launch-immediately" }));
    probe::Bus bus(desktop.sessionBusAddress());
    ASSERT_TRUE(waitUntil([&] { return bus.connection().interface()->isServiceRegistered("org.a11y.Bus").value(); }));
    writeFile(desktop.home() + "/tint2rc",
        "panel_items = S\npanel_size = 100% 32\npanel_position = bottom center horizontal\nsystray_icon_size = 24\n");
    ASSERT_TRUE(desktop.startProcess("tint2", { "-c", desktop.home() + "/tint2rc" }));
    ASSERT_TRUE(waitUntil([&] { return x.selectionOwned("_NET_SYSTEM_TRAY_S0"); }));
    Orca orca(desktop);
    ASSERT_TRUE(orca.waitFor("Screen reader on", 0, 20000)) << orca.printed();
    writeFile(desktop.home() + "/.local/share/applications/aardvark.desktop",
        "[Desktop Entry]\nType=Application\nName=Aardvark Notes\nExec=xterm\n");
    apptest::writeSettings([](TremlorSettings& settings) {
        settings.setHasCompletedOnboarding(false);
        settings.setPopoverExpanded(true);
        QList<Profile> profiles;
        for (const char* name : { "Alpha", "Beta", "Gamma" })
            profiles << Profile { .id = QUuid::createUuid(), .name = name };
        settings.setProfiles(profiles);
    });

    const auto press = [&](const QStringList& keys) {
        QProcess::execute("xdotool", QStringList { "key", "--delay", "100" } + keys);
        orca.settle();
    };
    // Gives the keyboard to the showing control of that role whose name or label holds `name`: the
    // control takes it, or a click does (a combo box's list then stays open).
    const auto focus = [&](const QString& role, const QString& name) {
        QProcess helper;
        helper.setProcessEnvironment(desktop.environment());
        helper.start(
            "/usr/bin/python3", { TREMLOR_TESTS_DIR "/integration/locate_atspi.py", "5", "focus", role, name });
        helper.waitForFinished(10000);
        EXPECT_EQ(helper.exitCode(), 0) << "no " << role.toStdString() << " " << name.toStdString();
        const QStringList centre = QString::fromLatin1(helper.readAllStandardOutput()).simplified().split(' ');
        if (centre.size() == 2) {
            QProcess::execute("xdotool", QStringList { "mousemove" } + centre + QStringList { "click", "1" });
            orca.settle();
        }
        return helper.exitCode() == 0;
    };
    // Runs `act` and expects Orca to speak a phrase matching `pattern` after it.
    const auto expectSpoken = [&](const QString& pattern, const std::function<void()>& act) {
        const qsizetype from = orca.settle();
        act();
        EXPECT_TRUE(orca.waitFor(pattern, from))
            << pattern.toStdString() << "; Orca said: " << orca.saidSince(from).toStdString();
    };

    std::optional<apptest::AppProcess> app;
    expectSpoken("Welcome to Tremlor",
        [&] { app.emplace(desktop, QStringList(), QStringList { "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" }); });
    for (const QString title : { "What Tremlor Does", "Accessibility Permission", "You're All Set!" }) {
        focus("push button", "Continue");
        expectSpoken(QRegularExpression::escape(title), [&] { press({ "Return" }); });
    }
    focus("push button", "Get Started");
    press({ "Return" });

    std::vector<apptest::Window> icons;
    ASSERT_TRUE(waitUntil([&] {
        std::erase_if(icons = x.find("Tremlor", true), [&](apptest::Window w) { return !x.insideClass(w, "Tint2"); });
        return !icons.empty();
    }));
    const QPoint icon = x.geometry(icons.front()).center();
    expectSpoken(R"(Set duration to 1 hour\W+(selected radio button|radio button\W+selected))", [&] {
        QProcess::execute(
            "xdotool", { "mousemove", QString::number(icon.x()), QString::number(icon.y()), "click", "1" });
    });
    // A combo box opened by a click, then closed by Escape with the keyboard on it.
    const auto expectBoxSpeaks = [&](const QString& label, const QString& value) {
        focus("combo box", label);
        expectSpoken(QStringLiteral("combo box.*%1|%1.*combo box").arg(value), [&] { press({ "Escape" }); });
    };
    expectBoxSpeaks("Profile", "No Profile");
    expectSpoken("Aardvark Notes.* check box.* not checked", [&] { focus("check box", "Aardvark Notes"); });
    press({ "Escape" });

    expectSpoken("Tremlor Settings", [&] {
        apptest::AppProcess opener(desktop); // a second start opens the settings window
        EXPECT_EQ(opener.waitForExit(), 0);
    });
    focus("list item", "General");
    expectBoxSpeaks("Display Mode", "Icon Only");
    focus("list item", "Mouse");
    expectBoxSpeaks("Pattern", "Bounce");
    focus("list item", "Profiles");
    focus("list", "Profiles");
    press({ "Home" });
    expectSpoken(R"(\bBeta\b)", [&] { press({ "Down" }); });

    focus("list item", "Apps");
    if (!focus("spin button", "Switch every"))
        return;
    const auto stored = [] {
        UserDefaults defaults(UserDefaults::defaultFolder());
        return TremlorSettings(defaults).appSwitchInterval();
    };
    expectSpoken(R"(\b10\b)", [&] { press(QStringList(11, "Up")); });
    EXPECT_TRUE(waitUntil([&] { return stored() == 10; })) << stored();
    expectSpoken(R"(\b9\b)", [&] { press({ "Down" }); }); // the keyboard is still on it
    EXPECT_TRUE(waitUntil([&] { return stored() == 9; })) << stored();
}
