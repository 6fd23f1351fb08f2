// Every decoder is fed garbage: nothing crashes, nothing partial is applied, the store keeps
// its values.
#include "Models/SettingsExport.h"
#include "TempDefaults.h"

#include <random>

using namespace tremlor;

namespace {

const QByteArray tenMegabytes(10 * 1024 * 1024, 'x');

constexpr const char* goodProfile
    = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"Work","selectedAppBundleIDs":["a"],"maxInterval":45,)"
      R"("jiggleDistance":3,"movementPattern":"circle","rotationMode":"random","duration":{"hours2":{}},)"
      R"("caffeineEnabled":true,"appSwitchInterval":3,"launchIfNotRunning":false})";
constexpr const char* goodEntry = R"({"id":"11111111-2222-3333-4444-555555555555","isEnabled":true,"days":[2,6],)"
                                  R"("startTime":{"hour":9,"minute":0},"endTime":{"hour":17,"minute":0}})";

QByteArray replaced(const char* text, const std::string& from, const std::string& to)
{
    std::string s = text;
    s.replace(s.find(from), from.size(), to);
    return QByteArray::fromStdString(s);
}

// Garbage shared by all decoders: broken text, wrong shapes, numbers out of range.
QList<QByteArray> commonGarbage()
{
    return { QByteArray(), "[", "[{", "[{\"id\":", "{}", "null", "42", "\"text\"", "[1e400]", "[18446744073709551616]",
        "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]", QByteArray(200000, '['),
        QByteArray("\xef\xbb\xbf\xff\xfe\x00\x01", 7), "\"" + tenMegabytes, tenMegabytes };
}

} // namespace

TEST(BadInput, StoredProfilesAndEntriesNeverDecodePartially)
{
    const QByteArray good = QByteArray("[") + goodProfile + "]";
    ASSERT_TRUE(Profile::decodeList(good));
    QList<QByteArray> badProfiles = commonGarbage();
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>> {
             { "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"", "1" },
             { "\"maxInterval\":45", "\"maxInterval\":1e999" },
             { "\"appSwitchInterval\":3", "\"appSwitchInterval\":99999999999999999999" },
             { "{\"hours2\":{}}", "{\"custom\":{\"minutes\":1e30}}" },
             { "{\"hours2\":{}}", "[\"hours2\"]" },
             { "[\"a\"]", "\"a\"" },
             { "\"Work\"", "null" },
             { ",\"launchIfNotRunning\":false", "" },
             { "\"circle\"", "\"zigzag\"" },
             { "\"random\"", "\"Random\"" },
             { "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"", "\"{6F9619FF-8B86-D011-B42D-00C04FC964FF}\"" },
             { "\"appSwitchInterval\":3", "\"appSwitchInterval\":3.5" },
             { "\"caffeineEnabled\":true", "\"caffeineEnabled\":1" },
             { "\"maxInterval\":45", "\"maxInterval\":\"45\"" },
             { "{\"hours2\":{}}", "{\"hours2\":{},\"hours1\":{}}" },
             { "[\"a\"]", "[\"a\",7]" },
         })
        badProfiles.append("[" + QByteArray(goodProfile) + "," + replaced(goodProfile, from, to) + "]");
    for (const QByteArray& data : badProfiles)
        EXPECT_FALSE(Profile::decodeList(data)) << data.right(300).toStdString();

    QList<QByteArray> badEntries = commonGarbage();
    for (const char* days : { "[0]", "[8]", "[-1]", "[2,0]", "[9223372036854775807]", "[-9223372036854775808]", "[1.5]",
             "[true]", "[\"2\"]", "2", "{}", "null" })
        badEntries.append("[" + QByteArray(goodEntry) + "," + replaced(goodEntry, "[2,6]", days) + "]");
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>> {
             { "\"isEnabled\"", "\"profileId\":\"nope\",\"isEnabled\"" },
             { "\"isEnabled\":true,", "" },
             { "\"isEnabled\":true", "\"isEnabled\":\"yes\"" },
             { ",\"endTime\":{\"hour\":17,\"minute\":0}", "" },
             { "\"minute\":0}}", "\"minute\":1e20}}" },
             { "{\"hour\":9,", "{\"hour\":9.5," },
             { "{\"hour\":9,\"minute\":0}", "[9]" },
             { "11111111-2222-3333-4444-555555555555", "11111111222233334444555555555555" },
         })
        badEntries.append("[" + QByteArray(goodEntry) + "," + replaced(goodEntry, from, to) + "]");
    for (const QByteArray& data : badEntries)
        EXPECT_FALSE(ScheduleEntry::decodeList(data)) << data.left(120).toStdString();
}

TEST(BadInput, GarbageInTheDefaultsFileNeverCrashesTheStore)
{
    QList<QByteArray> files = commonGarbage();
    files.append(R"({"maxInterval":true,"jiggleDistance":"3","movementPattern":7,"appSwitchInterval":1e300,)"
                 R"("launchIfNotRunning":"yes","defaultDurationId":null,"activeProfileId":[],)"
                 R"("selectedAppBundleIDs":{"$data":"!!"},"profiles":"[]","scheduleEntries":12})");
    files.append(R"({"appSwitchInterval":18446744073709551615,"maxInterval":1e308,"idleThreshold":-0.0})");
    files.append(R"({"movementPattern":"zigzag","rotationMode":"Random","maxInterval":"45","appSwitchInterval":2.5,)"
                 R"("simulateKeyboard":0})");
    files.append("{\"defaultDurationId\":\"" + tenMegabytes + "\"}");
    files.append("{\"profiles\":{\"$data\":\"" + QByteArray(goodProfile).toBase64() + "\"}}"); // not a list
    for (const QByteArray& text : files) {
        TempDefaults temp;
        temp.replaceFile(text);
        TremlorSettings& s = temp.settings();
        EXPECT_EQ(std::tuple(s.movementPattern(), s.rotationMode(), s.jiggleDistance(), s.appSwitchInterval()),
            std::tuple(MovementPattern::bounce, RotationMode::sequential, 3.0, std::int64_t { 1 }));
        EXPECT_TRUE(s.simulateKeyboard() && s.launchIfNotRunning());
        EXPECT_TRUE(s.profiles().isEmpty() && s.scheduleEntries().isEmpty() && s.selectedAppBundleIDs().isEmpty());
        // The store still works, and the file is not lost.
        s.setCaffeineEnabled(true);
        temp.reopen();
        EXPECT_TRUE(temp.settings().caffeineEnabled());
        // What the store could not use stays stored as it was.
        if (text.contains("zigzag")) {
            EXPECT_EQ(temp.settings().maxInterval(), 30.0);
            EXPECT_EQ(temp.defaults().stringValue("movementPattern"), "zigzag");
        }
    }
}

TEST(BadInput, GarbageSettingsFilesDecodeWholeOrNotAtAll)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    s.setProfiles(*Profile::decodeList(QByteArray("[") + goodProfile + "]").value);
    s.setScheduleEntries(*ScheduleEntry::decodeList(QByteArray("[") + goodEntry + "]").value);
    s.setSelectedAppBundleIDs({ "kept" });
    const QByteArray valid = *SettingsExport(s, s.profiles(), s.scheduleEntries()).encode();

    QList<QByteArray> files = commonGarbage();
    // Every truncation of a valid file.
    for (qsizetype length = 0; length < valid.size(); length += 7)
        files.append(valid.left(length));
    // Seeded byte damage: whatever decodes is whole, whatever fails applies nothing.
    std::mt19937 random(20261206);
    for (int i = 0; i < 300; ++i) {
        QByteArray damaged = valid;
        for (int n = 0; n < 3; ++n)
            damaged[std::uniform_int_distribution<qsizetype>(0, valid.size() - 1)(random)]
                = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        files.append(damaged);
    }
    int rejected = 0;
    for (const QByteArray& file : files) {
        const auto decoded = SettingsExport::decode(file);
        if (!decoded) {
            ++rejected;
            continue;
        }
        EXPECT_EQ(decoded.value->profiles.size(), 1);
        EXPECT_EQ(decoded.value->scheduleEntries.size(), 1);
    }
    EXPECT_GT(rejected, files.size() / 2);
}
