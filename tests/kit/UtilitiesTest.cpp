#include "KestuDesign/Utilities/CodableUserDefaultsStorage.h"
#include "KestuDesign/Utilities/DateFormatterCache.h"
#include "KestuDesign/Utilities/LaunchAtLogin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <thread>
#include <vector>

using namespace kestu;

namespace {
using Window = std::map<std::string, int>; // a value of several members

template <typename T> std::optional<T> loadAs(KestuMemoryUserDefaults& defaults, const char* stored)
{
    defaults.setData(QStringLiteral("n"), stored);
    return CodableUserDefaultsStorage<T>(QStringLiteral("n"), defaults).load();
}
} // namespace

// Data of another shape reads as nothing and stays; a value that cannot be encoded leaves the
// previous data in place.
TEST(CodableUserDefaultsStorage, RoundTripsAndRefusesWrongShapesAndUnencodableValues)
{
    KestuMemoryUserDefaults defaults;
    CodableUserDefaultsStorage<Window> windows(QStringLiteral("window"), defaults);
    EXPECT_EQ(windows.load(), std::nullopt);
    windows.save(Window { { "work", 1 }, { "minutes", 45 } });
    EXPECT_EQ(windows.load(), (Window { { "work", 1 }, { "minutes", 45 } }));
    EXPECT_EQ(*defaults.data(QStringLiteral("window")), QByteArray(R"({"minutes":45,"work":1})"));
    EXPECT_EQ(CodableUserDefaultsStorage<int>(QStringLiteral("window"), defaults).load(), std::nullopt);
    EXPECT_TRUE(defaults.data(QStringLiteral("window")).has_value());
    EXPECT_EQ(loadAs<int>(defaults, "9.5"), std::nullopt);
    EXPECT_EQ(loadAs<bool>(defaults, "1"), std::nullopt);
    EXPECT_EQ(loadAs<double>(defaults, "1e400"), std::nullopt);
    EXPECT_EQ(loadAs<Window>(defaults, "{not json"), std::nullopt);
    EXPECT_EQ(loadAs<Window>(defaults, R"({"minutes":"45"})"), std::nullopt);

    CodableUserDefaultsStorage<std::vector<double>> list(QStringLiteral("list"), defaults);
    list.save({ 1.5, 2.0 });
    list.save({ 1.0, std::nan("") });
    EXPECT_EQ(list.load(), (std::vector<double> { 1.5, 2.0 }));
    CodableUserDefaultsStorage<std::string> text(QStringLiteral("text"), defaults);
    text.save("ok");
    text.save(std::string("\xff\xfe"));
    EXPECT_EQ(text.load(), std::string("ok"));
    windows.remove();
    EXPECT_EQ(windows.load(), std::nullopt);
}

// A value saved in the file store is there after a restart, and so is a removal, whether the
// folder was missing or held a damaged file: that reads as empty and is kept beside the new one
// (a member of another form stays in place). A folder that cannot be made keeps values in memory.
TEST(KestuFileUserDefaults, SavedValuesSurviveARestartAndDamagedFilesAreKept)
{
    const struct {
        const char* content; // none: no folder yet
        bool kept;
    } cases[] = { { nullptr, false }, { "{\"window\": {\"$da", true }, { "[1, 2]", true }, { "\xff\xfe", true },
        { R"({"window": {"$data": "*"}, "other": [1]})", false } };
    const Window window { { "minutes", 45 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "none");
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("app/d.json")));
        if (c.content) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("app")) && file.open(QIODevice::WriteOnly)
                && file.write(c.content) > 0 && file.flush());
        }
        {
            KestuFileUserDefaults defaults(dir.filePath(QStringLiteral("app")), QStringLiteral("d"));
            CodableUserDefaultsStorage<Window> windows(QStringLiteral("window"), defaults);
            EXPECT_EQ(windows.load(), std::nullopt);
            windows.save(window);
        }
        {
            KestuFileUserDefaults restarted(dir.filePath(QStringLiteral("app")), QStringLiteral("d"));
            EXPECT_EQ(CodableUserDefaultsStorage<Window>(QStringLiteral("window"), restarted).load(), window);
            restarted.setData(QStringLiteral("count"), "3");
            restarted.remove(QStringLiteral("window"));
        }
        EXPECT_FALSE(KestuFileUserDefaults(dir.filePath(QStringLiteral("app")), QStringLiteral("d"))
                         .data(QStringLiteral("window")));
        const QStringList copies = QDir(dir.filePath(QStringLiteral("app"))).entryList({ QStringLiteral("d.json.*") });
        ASSERT_EQ(copies.size(), c.kept ? 1 : 0);
        QFile kept(dir.filePath(QStringLiteral("app/") + (c.kept ? copies.first() : QStringLiteral("d.json"))));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_TRUE(kept.readAll().contains(c.kept ? QByteArray(c.content) : QByteArray(c.content ? "\"other\"" : "")));
    }

    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly));
    KestuFileUserDefaults blocked(dir.filePath(QStringLiteral("blocked/app")), QStringLiteral("b"));
    blocked.setData(QStringLiteral("k"), "v");
    EXPECT_EQ(blocked.data(QStringLiteral("k")), QByteArray("v"));
    EXPECT_FALSE(blocked.synchronize());
}

// One formatter per pattern, zone and locale until cleared, also for threads asking at once.
TEST(DateFormatterCache, SameArgumentsGiveTheSameFormatterUntilCleared)
{
    DateFormatterCache cache;
    const QTimeZone utc("UTC");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const auto first = cache.formatter(QStringLiteral("h:mm a"), utc, us);
    EXPECT_EQ(first, cache.formatter(QStringLiteral("h:mm a"), utc, us));
    EXPECT_NE(first, cache.formatter(QStringLiteral("h:mm a"), utc, QLocale(QLocale::English, QLocale::UnitedKingdom)));
    EXPECT_NE(first, cache.formatter(QStringLiteral("h:mm a"), QTimeZone("Europe/Paris"), us));
    EXPECT_EQ(first->string(QDateTime(QDate(2026, 3, 1), QTime(15, 5), utc)), QStringLiteral("3:05 PM"));
    EXPECT_EQ(KestuDateFormatter::qtPattern(QStringLiteral("EEEE, MMM d 'at' h:mm a")),
        QStringLiteral("dddd, MMM d 'at' h:mm AP"));
    cache.clearCache();
    EXPECT_NE(first, cache.formatter(QStringLiteral("h:mm a"), utc, us));

    cache.clearCache();
    std::vector<std::shared_ptr<const KestuDateFormatter>> seen(8);
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] { seen[i] = cache.formatter(QStringLiteral("HH:mm"), utc, us); });
    threads.clear(); // joins them
    for (const auto& f : seen)
        EXPECT_EQ(f, seen.front());
}

// The entry quotes its command; one the user hid (in the entry's own group) counts as
// disabled; a folder that cannot be made is reported, not ignored.
TEST(LaunchAtLogin, WritesAndRemovesTheAutostartEntryAndReportsFailures)
{
    QTemporaryDir home;
    LaunchAtLogin item(home.filePath(QStringLiteral("config/autostart")), QStringLiteral("com.example.app"),
        QStringLiteral("/opt/My App/bin/app"), QStringLiteral("Example"));
    item.setEnabled(true);
    QFile entry(item.entryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered));
    entry.seek(0);
    const QByteArray content = entry.readAll();
    EXPECT_TRUE(content.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(content.contains("Exec=\"/opt/My App/bin/app\"\n")) << content.toStdString();
    entry.write("[Desktop Action quit]\nHidden=true\n");
    EXPECT_TRUE(item.isEnabled()) << "only the entry's own key counts";
    entry.write("[Desktop Entry]\nHidden = true\n");
    EXPECT_FALSE(item.isEnabled());
    item.setEnabled(false);
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    item.setEnabled(false); // nothing to remove: no error

    ASSERT_TRUE(QFile(home.filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly));
    LaunchAtLogin blocked(home.filePath(QStringLiteral("blocked/autostart")), QStringLiteral("x"),
        QStringLiteral("/bin/x"), QStringLiteral("X"));
    EXPECT_THROW(blocked.setEnabled(true), LaunchAtLoginError);
    EXPECT_FALSE(blocked.isEnabled());
}
