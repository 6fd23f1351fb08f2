#include "Platform/UserDefaults.h"

#include "core/TempDefaults.h"

#include <QCoreApplication>

#include <csignal>
#include <nlohmann/json.hpp>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace tremlor;

TEST(UserDefaults, TypedValuesSurviveARestartWithTheirTypes)
{
    QTemporaryDir dir;
    const QByteArray binary("\x00\xff\x10 {\"$data\":1}", 15);
    {
        UserDefaults defaults(dir.path());
        defaults.set("double", 45.0);
        defaults.set("integer", std::int64_t { -7 });
        defaults.set("max", std::numeric_limits<std::int64_t>::max());
        defaults.set("flag", false);
        defaults.set("text", QString::fromUtf8("caf\u00e9 \U0001F600 \"/\\"));
        defaults.set("data", binary);
        defaults.set("emptyData", QByteArray());
    }
    UserDefaults defaults(dir.path());
    EXPECT_EQ(defaults.doubleValue("double"), 45.0);
    EXPECT_EQ(defaults.integerValue("integer"), -7);
    EXPECT_EQ(defaults.integerValue("max"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(defaults.boolValue("flag"), false);
    EXPECT_EQ(defaults.stringValue("text"), QString::fromUtf8("caf\u00e9 \U0001F600 \"/\\"));
    EXPECT_EQ(defaults.dataValue("data"), binary);
    EXPECT_EQ(defaults.dataValue("emptyData"), QByteArray());

    // A value of another type reads as absent; an integer may be read as a double.
    EXPECT_EQ(defaults.integerValue("double"), std::nullopt);
    EXPECT_EQ(defaults.stringValue("data"), std::nullopt);
    EXPECT_EQ(defaults.doubleValue("integer"), -7.0);
    // A whole double keeps its fraction on disk, so other readers see a double too.
    const QByteArray text = readFile(defaults.filePath());
    EXPECT_TRUE(text.contains("\"double\": 45.0")) << text.toStdString();
    EXPECT_TRUE(text.contains("\"integer\": -7,")) << text.toStdString();
}

TEST(UserDefaults, WritesAreCoalescedAndReachTheFileAtomically)
{
    QTemporaryDir dir;
    const QString sub = dir.path() + "/nested/com.tremlor.app";
    UserDefaults defaults(sub);
    defaults.set("a", std::int64_t { 1 });
    defaults.set("a", std::int64_t { 2 });
    EXPECT_FALSE(QFile::exists(defaults.filePath())); // written by the event loop, once
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFile::exists(defaults.filePath()));
    EXPECT_EQ(UserDefaults(sub).integerValue("a"), 2);

    // The disk fills up half-way through the next write: the old file stays whole, and nothing
    // is left beside it.
    const QByteArray before = readFile(defaults.filePath());
    defaults.set("a", QString(8192, 'x'));
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit full { static_cast<rlim_t>(before.size() + 64), saved.rlim_max };
    std::signal(SIGXFSZ, SIG_IGN); // a short write, not the end of the process
    setrlimit(RLIMIT_FSIZE, &full);
    const bool written = defaults.synchronize();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(defaults.filePath()), before);
    EXPECT_EQ(QDir(sub).entryList(QDir::Files), QStringList { "com.tremlor.app.json" }); // no temporary files left

    // A folder that cannot be made: the write fails, the value stays in memory.
    writeFile(dir.path() + "/blocked", "file");
    UserDefaults blocked(dir.path() + "/blocked/com.tremlor.app");
    blocked.set("x", true);
    EXPECT_FALSE(blocked.synchronize());
    EXPECT_EQ(blocked.boolValue("x"), true);
}

TEST(UserDefaults, UnreadableFileIsKeptAsACopyBeforeItIsWrittenOver)
{
    for (const QByteArray& garbage : { QByteArray("{\"maxInterval\": 45.0,"), QByteArray("[1,2,3]"), QByteArray(),
             QByteArray("\xff\xfe\x00garbage", 10), QByteArray("\"text\"") }) {
        QTemporaryDir dir;
        writeFile(dir.path() + "/com.tremlor.app.json", garbage);
        {
            UserDefaults defaults(dir.path());
            EXPECT_TRUE(defaults.loadedUnreadableFile());
            EXPECT_FALSE(defaults.contains("maxInterval"));
            EXPECT_TRUE(defaults.synchronize()); // nothing to write: the file stays as it was
            EXPECT_EQ(readFile(defaults.filePath()), garbage);
            defaults.set("maxInterval", 12.5);
            EXPECT_TRUE(defaults.synchronize());
        }
        const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
        EXPECT_TRUE(files[1].startsWith("com.tremlor.app.json.unreadable-"));
        EXPECT_EQ(readFile(dir.path() + '/' + files[1]), garbage);
        UserDefaults reread(dir.path());
        EXPECT_FALSE(reread.loadedUnreadableFile());
        EXPECT_EQ(reread.doubleValue("maxInterval"), 12.5);
    }
}

TEST(UserDefaults, MembersOfUnknownShapeReadAsAbsentAndAreKept)
{
    QTemporaryDir dir;
    writeFile(dir.path() + "/com.tremlor.app.json",
        R"({"list":[1,2],"big":18446744073709551615,"none":null,"badData":{"$data":"***"},"n":3})");
    {
        UserDefaults defaults(dir.path());
        EXPECT_FALSE(defaults.loadedUnreadableFile());
        EXPECT_EQ(defaults.integerValue("big"), std::nullopt);
        EXPECT_EQ(defaults.doubleValue("none"), std::nullopt);
        EXPECT_EQ(defaults.dataValue("badData"), std::nullopt);
        EXPECT_EQ(defaults.integerValue("n"), 3);
        EXPECT_TRUE(defaults.contains("list"));
        defaults.set("n", std::int64_t { 4 });
    }
    const auto root = nlohmann::json::parse(readFile(dir.path() + "/com.tremlor.app.json").toStdString());
    EXPECT_EQ(root["list"], nlohmann::json::parse("[1,2]"));
    EXPECT_EQ(root["big"].get<std::uint64_t>(), 18446744073709551615ULL);
    EXPECT_EQ(root["badData"]["$data"], "***");
    EXPECT_EQ(root["n"], 4);
}

TEST(UserDefaults, ConcurrentReadersAndWritersSeeWholeValues)
{
    QTemporaryDir dir;
    UserDefaults defaults(dir.path());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&defaults, t] {
            for (int i = 0; i < 500; ++i) {
                defaults.set(QStringLiteral("k%1").arg(t), QString::number(i));
                const auto other = defaults.stringValue(QStringLiteral("k%1").arg((t + 1) % 4));
                ASSERT_FALSE(other && other->isEmpty());
                if (i % 100 == 0)
                    defaults.synchronize();
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults reread(dir.path());
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(reread.stringValue(QStringLiteral("k%1").arg(t)), "499");
}
