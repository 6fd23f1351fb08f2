#include "Helpers/AppListProvider.h"

#include "core/TempDefaults.h"
#include "support/FakeClock.h"

#include <QLocale>

using namespace tremlor;
using namespace tremlor::testing;

namespace {

void writeApp(const QString& path, const QByteArray& name, const QByteArray& extra = {})
{
    writeFile(path, "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + extra);
}

QStringList ids(const QList<AppInfo>& apps, bool names = false)
{
    QStringList out;
    for (const AppInfo& app : apps)
        out << (names ? app.name() : app.bundleIdentifier());
    return out;
}

class AppListProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        system = root.filePath("usr/share/applications");
        home = root.filePath("home/.local/share/applications");
        QDir().mkpath(system);
        QDir().mkpath(home);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved); }
    AppListProvider provider() { return AppListProvider({ system, home }, clock); }

    QLocale saved; // the default locale, put back afterwards
    QTemporaryDir root;
    QString system;
    QString home;
    FakeClock clock;
};

} // namespace

TEST_F(AppListProviderTest, FirstFoundWinsAndListsAreSortedCaseInsensitively)
{
    writeApp(system + "/beta.desktop", "beta");
    writeApp(system + "/gamma.desktop", "Gamma");
    writeApp(home + "/alpha.desktop", "Alpha");
    writeApp(home + "/beta.desktop", "beta (home copy)");
    writeApp(system + "/Utilities/tool.desktop", "Ötzi Tool"); // nested: ID "Utilities-tool"
    writeApp(system + "/Utilities-tool.desktop", "Duplicate of nested"); // same ID, found later in order

    const auto apps = provider().scanInstalledApps();
    EXPECT_EQ(ids(apps, true), QStringList({ "Alpha", "beta", "Gamma", "Ötzi Tool" }));
    EXPECT_EQ(ids(apps), QStringList({ "alpha", "beta", "gamma", "Utilities-tool" }));
    EXPECT_EQ(apps[1].path(), system + "/beta.desktop");
    EXPECT_EQ(apps[3].path(), system + "/Utilities/tool.desktop");
}

TEST_F(AppListProviderTest, CacheHoldsForThirtySecondsAndNeverKeepsAnEmptyList)
{
    auto scanner = provider();
    EXPECT_TRUE(scanner.scanInstalledApps().empty());
    writeApp(system + "/one.desktop", "One");
    EXPECT_EQ(scanner.scanInstalledApps().size(), 1); // an empty result is not reused

    writeApp(system + "/two.desktop", "Two");
    clock.advance(std::chrono::seconds(29));
    EXPECT_EQ(scanner.scanInstalledApps().size(), 1);
    clock.advance(std::chrono::seconds(1));
    EXPECT_EQ(scanner.scanInstalledApps().size(), 2);
}

// Agents, hidden entries, non-applications, malformed entries and whatever a walk must survive
// are left out.
TEST_F(AppListProviderTest, LeavesOutWhatIsNoShownApplicationAndSurvivesLoops)
{
    writeApp(system + "/good.desktop", "Good", "NoDisplay=false\n");
    writeApp(system + "/agent.desktop", "Agent", "NoDisplay=true\n");
    writeApp(system + "/gone.desktop", "Gone", "Hidden=true\n");
    writeFile(system + "/link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");
    writeApp(system + "/readme.txt", "Not an entry");
    writeApp(system + "/bad name.desktop", "Unsafe ID");
    // A folder named like an entry is not an entry and is not walked into.
    writeApp(system + "/bundle.desktop/inner.desktop", "Inner");
    // Malformed text is the parser's own test (DesktopEntry.MalformedTextIsRefusedWhole); here
    // the files and folders a walk must survive.
    writeFile(system + "/junk.desktop", QByteArray(4096, '\x80'));
    writeApp(system + "/locked.desktop", "Locked");
    QFile::setPermissions(system + "/locked.desktop", QFileDevice::WriteOwner);
    const bool canReadLocked = QFile(system + "/locked.desktop").open(QIODevice::ReadOnly); // root can
    QFile::link(system + "/loop-a.desktop", system + "/loop-b.desktop");
    QFile::link(system + "/loop-b.desktop", system + "/loop-a.desktop");
    QFile::link(system, system + "/self"); // a folder that contains itself
    QFile::link(home, home + "/up");
    QDir().mkpath(system + "/unreadable");
    writeApp(system + "/unreadable/hidden.desktop", "Behind a locked folder");
    QFile::setPermissions(system + "/unreadable", QFileDevice::WriteOwner);
    QFile::link("/dev/zero", system + "/zero.desktop");
    QFile::link("/nonexistent", system + "/dangling.desktop");

    auto scanner = AppListProvider({ system, home, root.filePath("missing/applications") }, clock);
    QStringList expected { "good" };
    if (canReadLocked)
        expected << "locked";
    QStringList found = ids(scanner.scanInstalledApps());
    found.removeAll("unreadable-hidden"); // readable after all when the tests run as root
    EXPECT_EQ(found, expected);
    QFile::setPermissions(
        system + "/unreadable", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
