#include "Helpers/LaunchAtLogin.h"

#include "Helpers/AccessibilityHelper.h"
#include "core/TempDefaults.h"
#include "support/EnvGuard.h"
#include "support/WaitUntil.h"

using namespace tremlor;

// Registering writes the autostart entry, also over a hidden one (which counts as disabled);
// unregistering removes it.
TEST(LaunchAtLogin, RegisterWritesTheAutostartEntryAndUnregisterRemovesIt)
{
    QTemporaryDir config;
    LaunchAtLogin login(config.path(), "/opt/tremlor/bin/tremlor");
    login.setEnabled(false); // nothing registered: nothing to do, no error

    login.setEnabled(true); // creates the autostart folder too
    const QByteArray text = readFile(login.entryPath());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/tremlor/bin/tremlor\"\n"));
    // The atomic write leaves no temporary files behind.
    EXPECT_EQ(QDir(config.path() + "/autostart").entryList(QDir::Files), QStringList { "com.tremlor.app.desktop" });

    writeFile(
        login.entryPath(), "[Desktop Entry]\nType=Application\nExec=tremlor\nHidden = true\n[Other]\nHidden=false\n");
    EXPECT_FALSE(login.isEnabled());
    login.setEnabled(true);
    EXPECT_TRUE(login.isEnabled());
    EXPECT_FALSE(readFile(login.entryPath()).contains("Hidden"));

    login.setEnabled(false);
    EXPECT_FALSE(QFile::exists(login.entryPath()));
}

// A folder that cannot be written throws, and the state stays what it was.
TEST(LaunchAtLogin, UnwritableFolderThrowsAndLeavesTheStateAlone)
{
    QTemporaryDir dir;
    // A plain file where the config folder should be: no folder can be made below it, even
    // for root, whom permission bits do not stop.
    LaunchAtLogin login(writeFile(dir.filePath("config"), {}), "/usr/bin/tremlor");
    EXPECT_THROW(login.setEnabled(true), LoginItemError);
    EXPECT_FALSE(login.isEnabled());

    // An entry that cannot be removed (here: a folder in its place) throws on unregister.
    QTemporaryDir config;
    LaunchAtLogin stuck(config.path(), "/usr/bin/tremlor");
    ASSERT_TRUE(QDir().mkpath(stuck.entryPath() + "/inside"));
    EXPECT_THROW(stuck.setEnabled(false), LoginItemError);
    EXPECT_THROW(stuck.setEnabled(true), LoginItemError);
}

TEST(LaunchAtLogin, ExecKeepsAwkwardPathsIntactAndUnexpanded)
{
    // Quoting rules, then string escapes on top, and % doubled so it is no field code.
    EXPECT_TRUE(LaunchAtLogin::entryText(R"(/home/a b/it's "$x"\`%f)")
                    .contains(R"(Exec="/home/a b/it's \\"\\$x\\"\\\\\\`%%f")"));
}

// "Open System Settings" starts the running desktop's own accessibility settings, else any
// known one installed, found in the application folders; with none, nothing happens.
TEST(AccessibilitySettings, OpenStartsTheDesktopsOwnEntryElseAnyKnownOne)
{
    tremlor::testing::EnvGuard env({ "XDG_DATA_DIRS", "XDG_DATA_HOME", "XDG_CURRENT_DESKTOP" });
    QTemporaryDir data;
    qputenv("XDG_DATA_DIRS", data.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.filePath("home").toLocal8Bit());
    AccessibilityHelper::openAccessibilitySettings();

    for (const QString id : { "gnome-universal-access-panel", "xfce4-accessibility-settings" }) {
        writeFile(data.filePath("applications/" + id + ".desktop"),
            "[Desktop Entry]\nType=Application\nName=A\nNoDisplay=true\nExec=touch " + data.filePath(id).toUtf8()
                + "\n");
    }
    for (const auto& [desktop, opened] : { std::pair { "ubuntu:XFCE", "xfce4-accessibility-settings" },
             std::pair { "Openbox", "gnome-universal-access-panel" } }) {
        SCOPED_TRACE(desktop);
        qputenv("XDG_CURRENT_DESKTOP", desktop);
        AccessibilityHelper::openAccessibilitySettings();
        EXPECT_TRUE(waitUntil([&] { return QFile::exists(data.filePath(opened)); }));
        EXPECT_EQ(QDir(data.path()).entryList(QDir::Files), QStringList { opened });
        QFile::remove(data.filePath(opened));
    }
}
