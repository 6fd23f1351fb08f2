#include "Platform/Xdg/DesktopEntry.h"

#include "Models/AppInfo.h"
#include "Platform/X11/RunningApps.h"
#include "Platform/Xdg/AppLauncher.h"
#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/ClaimedWindowClasses.h"
#include "Platform/Xdg/DesktopEntryLookup.h"
#include "Platform/Xdg/ExecCommand.h"
#include "core/TempDefaults.h"
#include "support/EnvGuard.h"

#include <QImage>
#include <QStandardPaths>
#include <QTest>

#include <nlohmann/json.hpp>
#include <unordered_set>

using namespace tremlor;
using namespace tremlor::xdg;
using tremlor::x11::RunningApps;

namespace {

DesktopEntry entry(const QString& id, const QString& exec, const QString& wmClass = {})
{
    return { .id = id, .name = id, .exec = exec, .startupWMClass = wmClass };
}

} // namespace

TEST(DesktopEntry, ReadsKeysOfTheMainGroupOnlyWithLocalisedName)
{
    const auto entry
        = DesktopEntry::parse("# comment\n[Desktop Entry]\nType=Application\nName=Files\nName[de]=Dateien\n"
                              "Name[de_AT]=Dateien (AT)\nExec = nautilus\\s--new-window %U\n"
                              "Icon=org.gnome.Nautilus\nStartupWMClass=Org.gnome.Nautilus\nNoDisplay=true\n"
                              "Terminal=true\n\n[Desktop Action new]\nName=Other\nExec=other\nTerminal=false\n",
            { "de_DE", "de" });
    ASSERT_TRUE(entry);
    EXPECT_EQ(QStringList({ entry->name, entry->localizedName, entry->exec, entry->startupWMClass }),
        QStringList({ "Files", "Dateien", "nautilus --new-window %U", "Org.gnome.Nautilus" }));
    EXPECT_TRUE(entry->terminal);
    EXPECT_FALSE(DesktopEntry::parse("[Desktop Entry]\nName=x\nTerminal=True\n", {})->terminal);
}

TEST(DesktopEntry, MalformedTextIsRefusedWhole)
{
    const QByteArray good = "[Desktop Entry]\nType=Application\nName=Good\n";
    ASSERT_TRUE(DesktopEntry::parse(good, {}));
    const QByteArray cases[] = {
        "[Desktop Entry]\nType=Application\n", // no Name
        "[Desktop Entry]\nName=\n", // empty Name
        "Name=Before any group\n[Desktop Entry]\nName=x\n",
        "[Other]\nName=x\n[Desktop Entry]\nName=y\n", // main group not first
        "[Desktop Entry]\nName=x\n[Desktop Entry]\nName=y\n",
        "[Desktop Entry]\nName=x\nthis line is junk\n",
        "[Desktop Entry]\nName[de=x\nName=y\n",
        QByteArray("[Desktop Entry]\nName=x\0y\n", 24), // NUL byte
        "[Desktop Entry]\nName=\xff\xfe\x80\n", // not UTF-8
        "",
    };
    for (const QByteArray& text : cases)
        EXPECT_FALSE(DesktopEntry::parse(text, {})) << text.toStdString();

    EXPECT_FALSE(DesktopEntry::parse(good + "Comment=" + QByteArray(1000 * 1000, 'a') + "\n", {}));
    QByteArray huge = good;
    for (int i = 0; i < 40000; ++i)
        huge += "X-Key" + QByteArray::number(i) + "=some value that fills the file\n";
    EXPECT_FALSE(DesktopEntry::parse(huge, {}));
}

TEST(DesktopEntry, LocaleNamesFollowTheMessagesLocale)
{
    const tremlor::testing::EnvGuard env { "LC_ALL", "LC_MESSAGES", "LANG" };
    qunsetenv("LC_ALL");
    qputenv("LC_MESSAGES", "sr_RS.UTF-8@latin");
    qputenv("LANG", "de_DE.UTF-8");
    EXPECT_EQ(DesktopEntry::localeNamesFromEnvironment(), QStringList({ "sr_RS@latin", "sr_RS", "sr@latin", "sr" }));
    qputenv("LC_ALL", "C");
    EXPECT_TRUE(DesktopEntry::localeNamesFromEnvironment().isEmpty());
}

TEST(ExecCommand, SplitsByTheQuotingRulesDropsFieldCodesAndResolvesThroughPath)
{
    struct Case {
        QString exec;
        QString program;
        QStringList arguments;
    };
    const Case cases[] = { { "app --name=%c -x %f %i %%done", "app", { "--name=", "-x", "%done" } },
        { "\"/opt/My App/run\" --flag", "/opt/My App/run", { "--flag" } },
        { R"(sh -c "echo \"\$HOME\" \`id\` \\ end; rm -rf %u")", "sh",
            { "-c", R"(echo "$HOME" `id` \ end; rm -rf %u)" } },
        { "  spaced\targs \n here ", "spaced", { "args", "here" } }, { "app a\"b c\"d", "app", { "ab cd" } } };
    for (const Case& c : cases) {
        const auto command = ExecCommand::parse(c.exec);
        ASSERT_TRUE(command) << c.exec.toStdString();
        EXPECT_EQ(command->program, c.program) << c.exec.toStdString();
        EXPECT_EQ(command->arguments, c.arguments) << c.exec.toStdString();
    }
    for (const QString bad : { "", "   ", "%U", "app \"unterminated", "\"\" arg" })
        EXPECT_FALSE(ExecCommand::parse(bad)) << bad.toStdString();

    // The program resolves through PATH or as an absolute path only.
    const auto resolve = [](const QString& program) { return ExecCommand { program, {} }.resolvedProgram(); };
    EXPECT_EQ(resolve("sh"), QStandardPaths::findExecutable("sh"));
    EXPECT_EQ(resolve("/bin/sh"), "/bin/sh");
    EXPECT_TRUE(resolve("bin/sh").isEmpty());
    EXPECT_TRUE(resolve("/nonexistent/tool").isEmpty());
    QTemporaryDir dir;
    EXPECT_TRUE(resolve(writeFile(dir.filePath("plain"), "#!/bin/sh\n")).isEmpty()); // not executable, even for root
}

// The words started for an entry, never through a shell: one that needs a terminal runs in the
// first terminal found, each with the option after which it takes the command.
TEST(AppLauncher, StartsAnEntryThatNeedsATerminalInTheUsersTerminal)
{
    const QStringList terminals { "x-terminal-emulator", "kitty", "xdg-terminal-exec", "gnome-terminal", "konsole",
        "xfce4-terminal", "xterm" };
    const auto words = [&](const QString& exec, bool terminal, qsizetype firstInstalled, const QString& variable) {
        const QStringList installed = QStringList { "vim" } + terminals.mid(firstInstalled);
        const auto find = [&](const QString& name) {
            return installed.contains(QFileInfo(name).fileName()) ? (name.startsWith('/') ? name : "/bin/" + name) : "";
        };
        return AppLauncher::commandLine({ .exec = exec, .terminal = terminal }, find, variable);
    };
    struct Case {
        bool terminal;
        qsizetype firstInstalled;
        QString variable;
        QStringList before;
    };
    const Case cases[] = { { false, 0, "kitty", {} }, { true, 0, "kitty", { "/bin/x-terminal-emulator", "-e" } },
        { true, 1, "kitty", { "/bin/kitty", "-e" } }, { true, 1, "", { "/bin/xdg-terminal-exec" } },
        { true, 3, "kitty", { "/bin/gnome-terminal", "--wait", "--" } }, { true, 4, "", { "/bin/konsole", "-e" } },
        { true, 5, "", { "/bin/xfce4-terminal", "--disable-server", "-x" } }, { true, 6, "", { "/bin/xterm", "-e" } },
        { true, 1, "gnome-terminal", { "/bin/gnome-terminal", "--wait", "--" } }, // a known $TERMINAL, or its path
        { true, 1, "/opt/xfce/bin/xfce4-terminal", { "/opt/xfce/bin/xfce4-terminal", "--disable-server", "-x" } } };
    const QStringList vim { "/bin/vim", "my notes.txt" };
    for (const Case& c : cases)
        EXPECT_EQ(words("vim \"my notes.txt\" %F", c.terminal, c.firstInstalled, c.variable), c.before + vim);
    // Nothing to start: no terminal at all, or no such program (no empty terminal either).
    EXPECT_TRUE(words("vim", true, terminals.size(), "kitty").isEmpty());
    EXPECT_TRUE(words("nano", true, 0, "").isEmpty());
}

TEST(ApplicationFolders, FollowTheXdgVariablesAndIdsAreSafeNames)
{
    const tremlor::testing::EnvGuard env { "XDG_DATA_DIRS", "XDG_DATA_HOME" };
    qputenv("XDG_DATA_DIRS", "/a:relative:/b/");
    qputenv("XDG_DATA_HOME", "/home/u/data");
    EXPECT_EQ(ApplicationFolders::standard(),
        QStringList({ "/a/applications", "/b/applications", "/home/u/data/applications" }));
    for (const QString good : { "org.gnome.Calculator", "firefox-esr", "kde4-konsole", "a_b+c@d~e", "X" })
        EXPECT_TRUE(ApplicationFolders::isValidId(good)) << good.toStdString();
    for (const QString& id :
        { QString(), QString("../../etc/passwd"), QString("a/b"), QString(".hidden"), QString("-x"), QString("a b"),
            QString("a\\b"), QString("x\ny"), QString(256, 'a'), QString::fromUtf8("caf\u00e9") })
        EXPECT_FALSE(ApplicationFolders::isValidId(id)) << id.toStdString();
    EXPECT_EQ(ApplicationFolders::idForRelativePath("kde4/konsole.desktop"), "kde4-konsole");
    EXPECT_TRUE(ApplicationFolders::idForRelativePath(".desktop").isEmpty());
    EXPECT_TRUE(ApplicationFolders::idForRelativePath("readme.txt").isEmpty());
}

TEST(DesktopEntryLookup, FindsEntriesByIdInsideTheFoldersOnly)
{
    QTemporaryDir root;
    const QString first = root.filePath("first/applications"), second = root.filePath("second/applications");
    writeFile(first + "/editor.desktop", "[Desktop Entry]\nType=Application\nName=Editor\nName[de]=Bearbeiter\n");
    writeFile(second + "/editor.desktop", "[Desktop Entry]\nType=Application\nName=Shadowed\n");
    writeFile(second + "/kde4/konsole.desktop", "[Desktop Entry]\nType=Application\nName=Konsole\n");
    writeFile(second + "/link.desktop", "[Desktop Entry]\nType=Link\nName=Web\nURL=https://example.org\n");
    // A file outside the folders that an identifier must never reach.
    writeFile(root.filePath("secret.desktop"), "[Desktop Entry]\nType=Application\nName=Secret\n");
    QFile::link(root.filePath("secret.desktop"), second + "/escape.desktop");

    const DesktopEntryLookup lookup({ first, second });
    const auto editor = tremlor::AppInfo::installed("editor", lookup);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->name(), "Editor"); // the plain Name, as the engine's resolution reads it
    EXPECT_EQ(editor->path(), first + "/editor.desktop");
    EXPECT_EQ(lookup.entryPath("kde4-konsole"), second + "/kde4/konsole.desktop");
    EXPECT_FALSE(tremlor::AppInfo::installed("link", lookup)); // not an application
    EXPECT_FALSE(tremlor::AppInfo::installed("missing", lookup));
    for (const QString hostile :
        { "../secret", "../../first/applications/editor", "/etc/passwd", "..-secret", "kde4/konsole", "" })
        EXPECT_TRUE(lookup.entryPath(hostile).isEmpty()) << hostile.toStdString();
    // A symlinked entry inside a folder is the folder's own entry, wherever its text lives.
    EXPECT_EQ(lookup.entryPath("escape"), second + "/escape.desktop");
}

TEST(AppInfo, IdentityIsTheIdentifierHashingCoversEveryFieldAndJsonNeedsEveryMember)
{
    const AppInfo a("org.example.Editor", "Editor", "/usr/share/applications/org.example.Editor.desktop");
    const AppInfo b("org.example.Editor", "Editor", "/home/u/.local/share/applications/org.example.Editor.desktop");
    // Fields do not run together in the hash: ("ab","c") and ("a","bc") differ.
    EXPECT_NE(qHash(AppInfo("ab", "c", "")), qHash(AppInfo("a", "bc", "")));
    EXPECT_EQ((std::unordered_set<AppInfo> { a, b, a }).size(), 2u);

    // JSON round-trips and requires every member.
    const AppInfo app("xterm", "XTerm \"quoted\" ünïcode", "/usr/share/applications/xterm.desktop");
    const auto json = app.toJson();
    EXPECT_EQ(json.dump(),
        R"({"bundleIdentifier":"xterm","name":"XTerm \"quoted\" ünïcode",)"
        R"("path":"/usr/share/applications/xterm.desktop"})");
    EXPECT_EQ(AppInfo::fromJson(nlohmann::json::parse(json.dump())), app);
    for (const char* bad :
        { R"({"bundleIdentifier":"b","name":"n"})", R"({"bundleIdentifier":"b","name":"n","path":1})",
            R"({"bundleIdentifier":null,"name":"n","path":"p"})", R"(["b","n","p"])", "null" })
        EXPECT_FALSE(AppInfo::fromJson(nlohmann::json::parse(bad))) << bad;
}

TEST(AppInfo, IconIsTheEntrysFileOrTheGenericApplicationIcon)
{
    QTemporaryDir dir;
    const QByteArray appWithIcon = "[Desktop Entry]\nType=Application\nName=App\nIcon=";
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.filePath("own.png")));
    const QIcon own
        = AppInfo("own", "Own", writeFile(dir.filePath("own.desktop"), appWithIcon + dir.filePath("own.png").toUtf8()))
              .icon();
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(own.pixmap(48, 48).toImage().pixelColor(24, 24), QColor(Qt::red));

    const bool themed = QIcon::hasThemeIcon("application-x-executable");
    const QIcon generic[] = {
        AppInfo("app", "App", "/nonexistent/app.desktop").icon(),
        AppInfo("app", "App", writeFile(dir.filePath("a.desktop"), appWithIcon + "/nonexistent/icon.png")).icon(),
        AppInfo("app", "App", writeFile(dir.filePath("b.desktop"), appWithIcon + "no-such-theme-icon-anywhere")).icon(),
    };
    for (const QIcon& icon : generic) {
        EXPECT_FALSE(icon.pixmap(32, 32).isNull());
        EXPECT_TRUE(!themed || icon.name() == "application-x-executable") << icon.name().toStdString();
    }
}

// The rules desktop shells use, in their order: StartupWMClass against instance or class, then
// the desktop-file ID against instance or class (or their lower-case forms), then the window's
// process against the entry's executable.
TEST(WindowMatching, FollowsTheShellRules)
{
    const QString sh = QFileInfo(QStandardPaths::findExecutable("sh")).canonicalFilePath();
    ASSERT_FALSE(sh.isEmpty());
    const std::vector<RunningApps::ClientWindow> clients {
        { 1, "navigator", "Firefox-esr", "/opt/firefox/firefox-bin", "/opt/firefox/firefox-bin" },
        { 2, "gnome-calculator", "Gnome-calculator", {}, {} },
        { 3, "xterm", "XTerm", "/usr/bin/xterm", "xterm" },
        { 4, "script", "Script", "/usr/bin/python3.11", sh }, // a script started as "sh"
        { 5, "remote", "Remote", {}, {} }, // another machine's client: no process known
        { 6, "xterm", "XTerm", "/usr/bin/xterm", "xterm" },
        { 7, "xterm", "CaseTerm", "/usr/bin/xterm", "xterm" },
    };
    using Ids = std::vector<unsigned long>;
    const auto matching = [&](const DesktopEntry& e) { return RunningApps::matching(clients, e, {}); };
    EXPECT_EQ(matching(entry("firefox-esr", "firefox-esr %u", "Firefox-esr")), Ids { 1 });
    EXPECT_EQ(matching(entry("gnome-calculator", "/nonexistent/calc")), Ids { 2 });
    EXPECT_EQ(matching(entry("xterm", "/nonexistent/xterm")), (Ids { 3, 6, 7 }));
    EXPECT_EQ(matching(entry("run-script", "sh -c 'x'")), Ids { 4 });
    // Look-alikes: an ID that differs in case, or an empty class, matches nothing.
    EXPECT_TRUE(matching(entry("XTERM", "/nonexistent/xterm")).empty());
    EXPECT_TRUE(matching(entry("unknown", "/nonexistent/tool", "")).empty());
    EXPECT_TRUE(RunningApps::matching({ { 7, {}, {}, {}, {} } }, entry("", ""), {}).empty());
    // Entries that start one program: one with StartupWMClass has the windows of that class, case
    // aside, else falls back to the other rules; a class claimed so is no other entry's.
    EXPECT_EQ(matching(entry("remote", "sh", "Remote")), Ids { 5 });
    EXPECT_EQ(matching(entry("case-term", "sh -c 'xterm -class CaseTerm &'", "caseterm")), Ids { 7 });
    EXPECT_EQ(RunningApps::matching(clients, entry("xterm", "xterm", "NoSuchClass"), { "CASETERM" }), (Ids { 3, 6 }));
    EXPECT_TRUE(RunningApps::matching(clients, entry("xterm", "/nonexistent/xterm"), { "XTerm" }).empty());
    EXPECT_TRUE(RunningApps::matching(clients, entry("run-script", "sh -c 'x'"), { "Script" }).empty());
}

// Claims: the first entry of each ID, applications not hidden, in subfolders too, each as it is now:
// read once, and again when the folders report a change.
TEST(WindowMatching, ClaimsComeFromTheInstalledEntriesAsTheyAreNow)
{
    QTemporaryDir first, second;
    const QByteArray app = "[Desktop Entry]\nType=Application\nName=A\nExec=sh\n";
    writeFile(first.filePath("scratch.desktop"), app + "StartupWMClass=Scratch\n");
    writeFile(first.filePath("gone.desktop"), app + "StartupWMClass=Gone\nHidden=true\n");
    writeFile(first.filePath("link.desktop"), "[Desktop Entry]\nType=Link\nName=L\nURL=x\nStartupWMClass=Link\n");
    writeFile(first.filePath("kde4/konsole.desktop"), app + "StartupWMClass=Konsole\n");
    writeFile(second.filePath("scratch.desktop"), app + "StartupWMClass=Shadowed\n");
    writeFile(second.filePath("own.desktop"), app + "StartupWMClass=Own\n");
    const QStringList folders { first.path(), second.path() };
    EXPECT_EQ(ClaimedWindowClasses::in(folders), (QSet<QString> { "Scratch", "Konsole", "Own" }));

    writeFile(first.filePath("scratch.desktop"), app + "StartupWMClass=RenamedLonger\n");
    ASSERT_TRUE(QFile::remove(second.filePath("own.desktop")));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return ClaimedWindowClasses::in(folders) == QSet<QString> { "RenamedLonger", "Konsole" };
    }));
    writeFile(second.filePath("new.desktop"), app + "StartupWMClass=New\n");
    ASSERT_TRUE(QFile::remove(first.filePath("kde4/konsole.desktop")));
    EXPECT_TRUE(ClaimedWindowClasses::in(folders).contains("Konsole")); // no file is read until told
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return ClaimedWindowClasses::in(folders) == QSet<QString> { "RenamedLonger", "New" };
    }));
}
