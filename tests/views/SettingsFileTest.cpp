#include "Views/Settings/TremlorSettingsDocument.h"
#include "core/TempDefaults.h"

#include <QSignalSpy>

#include <functional>
#include <limits>
#include <string>

using namespace tremlor;

namespace {

const char* const exportedKeys[] = { "maxInterval", "jiggleDistance", "movementPattern", "rotationMode",
    "appSwitchInterval", "launchIfNotRunning", "simulateKeyboard", "simulateClicks", "caffeineEnabled",
    "smartIdleEnabled", "idleThreshold", "showInDock", "playSoundOnToggle", "notifyOnExpiry", "menuBarDisplayMode",
    "defaultDurationId", "activeProfileId", "selectedAppBundleIDs", "profiles", "scheduleEntries" };

// A store where every one of the 20 exported values differs from its default.
void fillEveryExportedValue(TremlorSettings& s)
{
    for (const QMetaProperty& property : scalarProperties(s))
        property.write(&s, different(property.read(&s)));
    s.setDefaultDurationId(QStringLiteral("custom_25"));
    s.setSelectedAppBundleIDs({ QStringLiteral("org.gnome.Calculator"), QStringLiteral("firefox") });
    Profile work = s.captureAsProfile(QStringLiteral("Work / \"Focus\""));
    work.duration = Duration::custom(25);
    s.setProfiles({ work, work.duplicate() });
    s.setActiveProfileId(json::uuidText(work.id));
    ScheduleEntry entry { QUuid::createUuid(), false, { Weekday::sunday, Weekday::saturday },
        DateComponents::time(23, 59), DateComponents::time(0, 0), work.id };
    s.setScheduleEntries({ entry });
}

QByteArray wholeFile(TempDefaults& temp)
{
    temp.defaults().synchronize();
    return temp.fileText();
}

struct Files {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& data) const { return writeFile(path(name), data); }
};

} // namespace

// Export then import gives back all 20 values; what the file does not carry stays, and the
// lists are replaced, not merged. Observers hear of the import only once the whole record is
// stored: the one that follows activeProfileId (as the panel does) already finds the imported
// profile, and a reader of the scalars when the lists change finds the imported scalars.
TEST(SettingsFile, ExportThenImportRestoresAllTwentyValuesAnnouncedWhole)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    fillEveryExportedValue(s);
    const SettingsExport before(s, s.profiles(), s.scheduleEntries());
    Files files;
    ASSERT_TRUE(TremlorSettingsDocument::exportTo(files.path(TremlorSettingsDocument::defaultFileName()), s));

    s.resetToDefaults();
    s.setProfiles({ s.captureAsProfile(QStringLiteral("Other")) });
    s.setScheduleEntries({});
    s.setPopoverExpanded(false);
    s.setLastUsedDurationId(QStringLiteral("2h"));
    s.setShowCountdownInMenuBar(true);
    bool foundActive = false;
    double intervalSeenWithProfiles = 0;
    QObject::connect(&s, &TremlorSettings::activeProfileIdChanged, &s, [&] {
        for (const Profile& p : s.profiles())
            foundActive = foundActive || json::uuidText(p.id) == s.activeProfileId();
    });
    QObject::connect(&s, &TremlorSettings::profilesChanged, &s, [&] { intervalSeenWithProfiles = s.maxInterval(); });
    QSignalSpy willChange(&s, &TremlorSettings::objectWillChange);
    QSignalSpy interval(&s, &TremlorSettings::maxIntervalChanged);
    QStringList written;
    QObject::connect(&temp.defaults(), &UserDefaults::valueChanged, &s, [&](const QString& key) { written << key; });
    ASSERT_TRUE(TremlorSettingsDocument::importFrom(files.path(TremlorSettingsDocument::defaultFileName()), s));
    EXPECT_EQ(written, QStringList(std::begin(exportedKeys), std::end(exportedKeys)));

    EXPECT_EQ(SettingsExport(s, s.profiles(), s.scheduleEntries()), before);
    EXPECT_FALSE(s.popoverExpanded());
    EXPECT_EQ(s.lastUsedDurationId(), QStringLiteral("2h"));
    EXPECT_TRUE(s.showCountdownInMenuBar());
    EXPECT_TRUE(foundActive);
    EXPECT_EQ(intervalSeenWithProfiles, 31.5);
    EXPECT_EQ(willChange.count(), 1);
    EXPECT_EQ(interval.count(), 1);
    // And the store saved it: a restart reads the same record.
    temp.reopen();
    EXPECT_EQ(SettingsExport(temp.settings(), temp.settings().profiles(), temp.settings().scheduleEntries()), before);

    // Keys it does not export are ignored; an empty profile list removes every profile.
    Json edited = Json::parse(TremlorSettingsDocument::fromSettings(temp.settings())->data().toStdString());
    edited["launchAtLogin"] = true;
    edited["profiles"] = Json::array();
    const QString path = files.write(QStringLiteral("edited.json"), QByteArray::fromStdString(edited.dump()));
    ASSERT_TRUE(TremlorSettingsDocument::importFrom(path, temp.settings()));
    EXPECT_TRUE(temp.settings().profiles().isEmpty());
    EXPECT_FALSE(temp.settings().launchAtLogin());
}

// No bad file changes anything: the whole settings file is the same before and after, and no
// change is announced.
TEST(SettingsFile, EveryBadFileChangesNothing)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    fillEveryExportedValue(s);
    const QByteArray good = TremlorSettingsDocument::fromSettings(s)->data();
    const Json base = Json::parse(good.toStdString());
    const auto edited = [&base](const std::function<void(Json&)>& edit) {
        Json j = base;
        edit(j);
        return QByteArray::fromStdString(j.dump());
    };
    const auto withNumber = [&edited](const std::function<Json&(Json&)>& at, const char* text) {
        // JSON has no literal for infinity; an exponent too large for a double reads as one.
        return edited([&at](Json& j) { at(j) = 8765.4321; }).replace("8765.4321", text);
    };

    QList<std::pair<std::string, QByteArray>> cases {
        { "empty file", QByteArray() },
        { "not JSON", QByteArrayLiteral("maxInterval = 30\n") },
        { "cut short", good.left(good.size() / 2) },
        { "an array", QByteArrayLiteral("[]") },
        { "wrong type of scalar", edited([](Json& j) { j["maxInterval"] = "30"; }) },
        { "wrong type of flag", edited([](Json& j) { j["showInDock"] = 1; }) },
        { "fraction for an integer", edited([](Json& j) { j["appSwitchInterval"] = 2.5; }) },
        { "integer beyond 64 bits", edited([](Json& j) { j["appSwitchInterval"] = 18446744073709551615ULL; }) },
        { "null identifier", edited([](Json& j) { j["selectedAppBundleIDs"][1] = nullptr; }) },
        { "profiles not a list", edited([](Json& j) { j["profiles"] = Json::object(); }) },
        { "profile lacks a key", edited([](Json& j) { j["profiles"][1].erase("launchIfNotRunning"); }) },
        { "bad profile id", edited([](Json& j) { j["profiles"][0]["id"] = "work"; }) },
        { "infinite interval", withNumber([](Json& j) -> Json& { return j["maxInterval"]; }, "1e400") },
        { "infinite threshold", withNumber([](Json& j) -> Json& { return j["idleThreshold"]; }, "-1e999") },
        { "infinite profile distance",
            withNumber([](Json& j) -> Json& { return j["profiles"][1]["jiggleDistance"]; }, "1e309") },
        { "unknown pattern", edited([](Json& j) { j["movementPattern"] = "zigzag"; }) },
        { "unknown display mode", edited([](Json& j) { j["menuBarDisplayMode"] = "iconOnly "; }) },
        { "unknown profile rotation", edited([](Json& j) { j["profiles"][0]["rotationMode"] = "shuffle"; }) },
        { "unknown duration", edited([](Json& j) {
             j["profiles"][0]["duration"] = { { "days2", Json::object() } };
         }) },
        { "two duration cases", edited([](Json& j) { j["profiles"][0]["duration"]["hours2"] = Json::object(); }) },
        { "weekday 8", edited([](Json& j) { j["scheduleEntries"][0]["days"].push_back(8); }) },
        { "hour 24", edited([](Json& j) { j["scheduleEntries"][0]["startTime"]["hour"] = 24; }) },
        { "minute 60", edited([](Json& j) { j["scheduleEntries"][0]["endTime"]["minute"] = 60; }) },
        { "negative hour", edited([](Json& j) { j["scheduleEntries"][0]["endTime"]["hour"] = -1; }) },
        // A list keyed by id would show a row that edits another record.
        { "repeated profile id", edited([](Json& j) { j["profiles"][1]["id"] = j["profiles"][0]["id"]; }) },
        { "repeated entry id", edited([](Json& j) { j["scheduleEntries"].push_back(j["scheduleEntries"][0]); }) },
        // A sound record that is too large to be read at all.
        { "over 16 MiB", good + QByteArray(TremlorSettingsDocument::maximumFileSize - good.size() + 1, ' ') },
    };
    for (const char* key : exportedKeys) {
        cases.append({ std::string("without ") + key, edited([key](Json& j) { j.erase(key); }) });
        cases.append({ std::string("object as ") + key, edited([key](Json& j) { j[key] = { { "x", 1 } }; }) });
    }

    Files files;
    const QByteArray before = wholeFile(temp);
    QSignalSpy willChange(&s, &TremlorSettings::objectWillChange);
    for (const auto& [name, data] : cases)
        EXPECT_FALSE(TremlorSettingsDocument::importFrom(files.write(QString::fromStdString(name), data), s)) << name;
    EXPECT_FALSE(TremlorSettingsDocument::importFrom(files.path(QStringLiteral("missing.json")), s));
    EXPECT_FALSE(TremlorSettingsDocument::importFrom(files.dir.path(), s));
    EXPECT_EQ(willChange.count(), 0);
    EXPECT_EQ(wholeFile(temp), before);
    // The untouched good file still imports: the cases above fail for their fault alone.
    EXPECT_TRUE(TremlorSettingsDocument::importFrom(files.write(QStringLiteral("good"), good), s));
}

// Export replaces the file whole and leaves an old file intact when it cannot write.
TEST(SettingsFile, ExportWritesTheRecordOrLeavesTheOldFile)
{
    TempDefaults temp;
    Files files;
    const QString path = files.write(QStringLiteral("old.json"), QByteArrayLiteral("old"));
    temp.settings().setMaxInterval(12);
    ASSERT_TRUE(TremlorSettingsDocument::exportTo(path, temp.settings()));
    EXPECT_EQ(TremlorSettingsDocument::read(path)->record()->maxInterval, 12);

    temp.settings().setProfiles({ { .maxInterval = std::numeric_limits<double>::quiet_NaN() } });
    EXPECT_FALSE(TremlorSettingsDocument::exportTo(path, temp.settings()));
    EXPECT_FALSE(TremlorSettingsDocument::exportTo(files.path(QStringLiteral("no/such/folder.json")), temp.settings()));
    EXPECT_EQ(TremlorSettingsDocument::read(path)->record()->maxInterval, 12);
}
