// The real program under the Orca screen reader on a private desktop with a tray: what Orca speaks
// where the program itself must move the keyboard for a reader to follow.

#include "AppDesktop.h"
#include "core/TempDefaults.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <optional>

using namespace tremlor;
using probe::waitUntil;

namespace {

// Orca, and each phrase it speaks: a "SPEECH OUTPUT" line of its debug log. It writes the log
// line by line only to a terminal, which script(1) gives it and copies out.
class Orca final {
public:
    explicit Orca(const TestDesktop& desktop)
    {
        // Orca refuses to start while an Orca of the same user runs anywhere (it asks pgrep).
        writeFile(desktop.home() + "/orca-bin/pgrep", "#!/bin/sh\nexit 1\n");
        QFile::setPermissions(desktop.home() + "/orca-bin/pgrep", QFile::ReadOwner | QFile::ExeOwner);
        QProcessEnvironment env = desktop.environment();
        env.insert("PATH", desktop.home() + "/orca-bin:" + env.value("PATH"));
        m_process.setProcessEnvironment(env);
        m_process.start("script", { "-qfc", "orca --disable=braille --debug-file=/dev/tty", "/dev/null" });
    }
    ~Orca() { TestDesktop::stop(&m_process); }

    // Whether Orca runs, once it has said so.
    bool started()
    {
        return waitUntil([&] { return read(), m_phrases.contains("Screen reader on."); }, 20000);
    }

    // Waits until Orca has been quiet for a moment, caught up with the program's events.
    void settle()
    {
        QDeadlineTimer quiet(400);
        waitUntil(
            [&] {
                if (read())
                    quiet.setRemainingTime(400);
                return quiet.hasExpired();
            },
            5000);
    }
    // Runs `act` and waits until what Orca speaks after it, its phrases joined, matches `pattern`.
    void expect(const QString& pattern, const std::function<void()>& act, int timeoutMs = 5000)
    {
        settle();
        const qsizetype from = m_phrases.size();
        act();
        const auto said = [&] { return m_phrases.mid(from).join(" | "); };
        EXPECT_TRUE(waitUntil([&] { return read(), said().contains(QRegularExpression(pattern)); }, timeoutMs))
            << pattern.toStdString() << "; Orca said: " << said().toStdString();
    }

private:
    bool read()
    {
        static const QRegularExpression spoken(R"(SPEECH OUTPUT: '(.*?)' ?(\{.*\})?\r?$)");
        bool wrote = false;
        for (; m_process.canReadLine(); wrote = true)
            if (const auto match = spoken.match(QString::fromUtf8(m_process.readLine()).trimmed()); match.hasMatch())
                m_phrases << match.captured(1);
        return wrote;
    }

    QProcess m_process;
    QStringList m_phrases;
};

} // namespace

// Each onboarding page's title as Return moves to it; the chosen chip, as a radio button, as the
// panel opens from the tray; the profile that Down reaches in the settings window's list.
TEST(ScreenReader, OrcaFollowsPagesThePanelAndTheProfilesList)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    apptest::XWindows x(desktop.display());
    ASSERT_TRUE(desktop.startProcess("/usr/libexec/at-spi-bus-launcher", { "--launch-immediately" }));
    writeFile(desktop.home() + "/tint2rc", "panel_items = S\npanel_position = bottom center horizontal\n");
    ASSERT_TRUE(desktop.startProcess("tint2", { "-c", desktop.home() + "/tint2rc" }));
    Orca orca(desktop);
    ASSERT_TRUE(orca.started());
    apptest::writeSettings([](TremlorSettings& settings) {
        settings.setHasCompletedOnboarding(false);
        settings.setProfiles({ Profile { .id = QUuid::createUuid(), .name = "Alpha" },
            Profile { .id = QUuid::createUuid(), .name = "Beta" } });
    });
    const auto press = [&](const char* key) { QProcess::execute("xdotool", { "key", key }); };

    std::optional<apptest::AppProcess> app;
    orca.expect(
        "Welcome to Tremlor",
        [&] { app.emplace(desktop, QStringList(), QStringList { "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" }); }, 20000);
    for (const QString title : { "What Tremlor Does", "Accessibility Permission", "You're All Set!" })
        orca.expect(QRegularExpression::escape(title), [&] { press("Return"); });
    press("Return"); // Get Started

    std::vector<apptest::Window> icons;
    ASSERT_TRUE(waitUntil([&] {
        std::erase_if(icons = x.find("Tremlor", true), [&](apptest::Window w) { return !x.insideClass(w, "Tint2"); });
        return !icons.empty();
    }));
    const QPoint icon = x.geometry(icons.front()).center();
    orca.expect(R"(Set duration to 1 hour\W+(selected radio button|radio button\W+selected))", [&] {
        QProcess::execute(
            "xdotool", { "mousemove", QString::number(icon.x()), QString::number(icon.y()), "click", "1" });
    });
    press("Escape");

    orca.expect("Tremlor Settings", [&] { EXPECT_EQ(apptest::AppProcess(desktop).waitForExit(), 0); });
    // The control of that role and name takes the keyboard, or a click gives it (a list row).
    const auto focus = [&](const char* role, const char* name) {
        QProcess locate;
        locate.setProcessEnvironment(desktop.environment());
        locate.start(
            "/usr/bin/python3", { TREMLOR_TESTS_DIR "/integration/locate_atspi.py", "5", "focus", role, name });
        EXPECT_TRUE(locate.waitForFinished(10000) && locate.exitCode() == 0) << name;
        const QStringList centre = QString::fromLatin1(locate.readAllStandardOutput()).simplified().split(' ');
        if (centre.size() == 2)
            QProcess::execute("xdotool", QStringList { "mousemove" } + centre + QStringList { "click", "1" });
    };
    focus("list item", "Profiles");
    focus("list", "Profiles");
    press("Home");
    orca.expect(R"(\bBeta\b)", [&] { press("Down"); });
}
