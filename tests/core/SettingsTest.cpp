#include "Engine/ProfileManager.h"
#include "Models/SettingsExport.h"
#include "TempDefaults.h"
#include "support/EnvGuard.h"

#include <QSignalSpy>

#include <future>

using namespace tremlor;

namespace {

// Every key the domain received, in order.
QStringList keys(const QSignalSpy& writes)
{
    QStringList out;
    for (const QList<QVariant>& arguments : writes)
        out << arguments.at(0).toString();
    return out;
}

Profile profile(const QString& name)
{
    return { .id = QUuid::createUuid(), .name = name, .selectedAppBundleIDs = {} };
}

} // namespace

TEST(SettingsExport, DefaultStoreEncodesTwentyKeysInOrder)
{
    TempDefaults temp;
    EXPECT_EQ(SettingsExport(temp.settings(), {}, {}).encode(),
        R"({"maxInterval":30,"jiggleDistance":3,"movementPattern":"bounce","rotationMode":"sequential",)"
        R"("appSwitchInterval":1,"launchIfNotRunning":true,"simulateKeyboard":true,"simulateClicks":false,)"
        R"("caffeineEnabled":false,"smartIdleEnabled":false,"idleThreshold":30,"showInDock":false,)"
        R"("playSoundOnToggle":false,"notifyOnExpiry":true,"menuBarDisplayMode":"iconOnly",)"
        R"("defaultDurationId":"1h","activeProfileId":"","selectedAppBundleIDs":[],"profiles":[],)"
        R"("scheduleEntries":[]})");
    temp.settings().setIdleThreshold(std::numeric_limits<double>::infinity());
    EXPECT_EQ(SettingsExport(temp.settings(), {}, {}).encode(), std::nullopt);
}

TEST(Settings, ChangesAreAnnouncedBeforeTheStoreSignalledAfterAndListsSavedOnceWhole)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    QList<double> seenBefore, seenAfter;
    QList<qsizetype> profileCountsBefore;
    QObject context;
    QObject::connect(&s, &TremlorSettings::objectWillChange, &context, [&] {
        seenBefore.append(s.maxInterval());
        profileCountsBefore.append(s.profiles().size());
    });
    QObject::connect(&s, &TremlorSettings::maxIntervalChanged, &context, [&] { seenAfter.append(s.maxInterval()); });
    QSignalSpy profilesChanged(&s, &TremlorSettings::profilesChanged);
    s.setMaxInterval(10.0);
    s.setMaxInterval(10.0); // announced again, but nothing changed for views
    s.setProfiles({ profile("A") });
    EXPECT_EQ(seenBefore, (QList<double> { 30.0, 10.0, 10.0 }));
    EXPECT_EQ(seenAfter, QList<double> { 10.0 });
    EXPECT_EQ(profileCountsBefore, (QList<qsizetype> { 0, 0, 0 }));
    EXPECT_EQ(profilesChanged.size(), 1);

    // Each list change is saved once, whole.
    QSignalSpy log(&temp.defaults(), &UserDefaults::valueChanged);
    QList<Profile> list { profile("One") };
    temp.settings().setProfiles(list);
    list.append(profile("Two"));
    temp.settings().setProfiles(list);
    EXPECT_EQ(keys(log), QStringList({ "profiles", "profiles" }));
    const ScheduleEntry entry { QUuid::createUuid(), true, { Weekday::monday }, {}, {}, list[1].id };
    temp.settings().setScheduleEntries({ entry });
    temp.settings().setSelectedAppBundleIDs({ "org.gnome.Calculator", "firefox" });

    temp.reopen();
    EXPECT_EQ(temp.settings().profiles(), list);
    EXPECT_EQ(temp.settings().scheduleEntries(), QList<ScheduleEntry> { entry });
    EXPECT_EQ(temp.settings().selectedAppBundleIDs(), QStringList({ "org.gnome.Calculator", "firefox" }));
    EXPECT_EQ(temp.defaults().dataValue("selectedAppBundleIDs"), R"(["org.gnome.Calculator","firefox"])");

    // A list that cannot be encoded is not saved: the previous data stays.
    list[0].maxInterval = std::nan("");
    const auto before = temp.defaults().dataValue("profiles");
    temp.settings().setProfiles(list);
    EXPECT_EQ(temp.defaults().dataValue("profiles"), before);
    EXPECT_TRUE(std::isnan(temp.settings().profiles()[0].maxInterval));
}

// Saving captures the default duration (custom ones included), applying writes every field but
// the duration in order, and the manager finds only the profiles it has.
TEST(Settings, ProfilesAreCapturedAppliedInOrderAndDeletedThroughTheManager)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    ProfileManager manager(s);
    s.setDefaultDurationId("custom_45");
    s.setSelectedAppBundleIDs({ "firefox" });
    for (const char* name : { "maxInterval", "jiggleDistance", "movementPattern", "rotationMode", "caffeineEnabled",
             "appSwitchInterval", "launchIfNotRunning" })
        s.setProperty(name, different(s.property(name)));
    const Profile saved = manager.saveCurrentSettings("Focus");
    EXPECT_EQ(saved.duration, Duration::custom(45));
    EXPECT_EQ(saved.selectedAppBundleIDs, QStringList { "firefox" });
    EXPECT_EQ(s.profiles(), QList<Profile> { saved });
    EXPECT_EQ(s.activeProfileId(), ""); // saving applies nothing

    s.resetToDefaults();
    QSignalSpy log(&temp.defaults(), &UserDefaults::valueChanged);
    EXPECT_TRUE(manager.applyProfile(saved.id));
    EXPECT_EQ(keys(log),
        QStringList({ "selectedAppBundleIDs", "maxInterval", "jiggleDistance", "movementPattern", "rotationMode",
            "caffeineEnabled", "appSwitchInterval", "launchIfNotRunning", "activeProfileId" }));
    EXPECT_EQ(s.activeProfileId(), saved.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(s.defaultDurationId(), "1h");
    Profile captured = s.captureAsProfile("New Profile");
    EXPECT_NE(captured.id, saved.id);
    captured.id = saved.id;
    captured.name = saved.name;
    captured.duration = saved.duration;
    EXPECT_EQ(captured, saved);

    const QUuid missing = QUuid::createUuid();
    EXPECT_FALSE(manager.profile(missing));
    EXPECT_FALSE(manager.applyProfile(missing));
    EXPECT_FALSE(manager.deleteProfile(missing));
    EXPECT_TRUE(manager.deleteProfile(saved.id));
    EXPECT_TRUE(manager.profiles().isEmpty());
    EXPECT_FALSE(manager.applyProfile(saved.id));
}

// Defaults themselves are checked through the settings file (above), unusable stored values in
// BadInput. A first start writes nothing; every scalar is stored under its name and survives a
// restart; a reset writes every default in order and keeps profiles and schedule.
TEST(Settings, EveryScalarSurvivesARestartAndResetWritesEveryDefaultInOrder)
{
    TempDefaults temp;
    temp.reopen();
    EXPECT_FALSE(QFile::exists(temp.filePath()));
    TremlorSettings& d = temp.settings(); // what the settings file does not carry
    EXPECT_TRUE(
        !d.launchAtLogin() && !d.showCountdownInMenuBar() && d.popoverExpanded() && d.lastUsedDurationId() == "");
    QMap<QByteArray, QVariant> written;
    for (const QMetaProperty& property : scalarProperties(temp.settings())) {
        const QVariant value = different(property.read(&temp.settings()));
        ASSERT_TRUE(value.isValid()) << property.name();
        ASSERT_TRUE(property.write(&temp.settings(), value)) << property.name();
        EXPECT_TRUE(temp.defaults().contains(QString::fromLatin1(property.name()))) << property.name();
        written.insert(property.name(), value);
    }
    temp.reopen();
    for (const QMetaProperty& property : scalarProperties(temp.settings()))
        EXPECT_EQ(property.read(&temp.settings()), written.value(property.name())) << property.name();
    // Doubles stay doubles in the file, so they do not read back as absent.
    EXPECT_TRUE(temp.fileText().contains("\"maxInterval\": 31.5"));

    TremlorSettings& s = temp.settings();
    s.setSelectedAppBundleIDs({ "firefox" });
    s.setProfiles({ profile("Keep") });
    s.setScheduleEntries({ ScheduleEntry {} });
    QSignalSpy log(&temp.defaults(), &UserDefaults::valueChanged);
    s.resetToDefaults();
    EXPECT_EQ(keys(log),
        QStringList({ "maxInterval", "jiggleDistance", "movementPattern", "rotationMode", "appSwitchInterval",
            "launchIfNotRunning", "launchAtLogin", "showInDock", "menuBarDisplayMode", "playSoundOnToggle",
            "simulateKeyboard", "simulateClicks", "caffeineEnabled", "smartIdleEnabled", "idleThreshold",
            "showCountdownInMenuBar", "notifyOnExpiry", "defaultDurationId", "selectedAppBundleIDs", "activeProfileId",
            "popoverExpanded", "lastUsedDurationId" }));
    temp.reopen();
    TremlorSettings& r = temp.settings();
    TempDefaults fresh;
    for (const QMetaProperty& property : scalarProperties(r)) {
        if (QByteArray(property.name()) == "hasCompletedOnboarding")
            EXPECT_TRUE(r.hasCompletedOnboarding());
        else
            EXPECT_EQ(property.read(&r), property.read(&fresh.settings())) << property.name();
        EXPECT_TRUE(temp.defaults().contains(QString::fromLatin1(property.name()))) << property.name();
    }
    EXPECT_EQ(r.profiles().size(), 1);
    EXPECT_EQ(r.scheduleEntries().size(), 1);
}

TEST(Settings, UndecodableStoredListIsKeptAsACopyBeforeTheFirstSave)
{
    TempDefaults temp;
    const QByteArray broken = R"([{"id":"not-a-uuid","name":"Mine"}])";
    temp.defaults().set("profiles", broken);
    temp.defaults().set("scheduleEntries", QString("not data at all"));
    temp.defaults().set("selectedAppBundleIDs", QByteArray(R"([ "a",  "b" ])"));
    temp.reopen();
    TremlorSettings& s = temp.settings();
    EXPECT_EQ(temp.defaults().dataValue("selectedAppBundleIDs"), R"(["a","b"])"); // a list that loads is saved again
    EXPECT_TRUE(s.profiles().isEmpty());
    EXPECT_TRUE(s.scheduleEntries().isEmpty());
    EXPECT_EQ(temp.defaults().dataValue("profiles"), broken); // untouched while the list is unchanged

    const Profile mine = profile("New");
    s.setProfiles({ mine });
    s.setScheduleEntries({});
    const auto copies = [&] { return QDir(temp.folder()).entryList({ "*.unreadable-*" }, QDir::Files); };
    ASSERT_EQ(copies().size(), 2) << copies().join(' ').toStdString();
    EXPECT_EQ(readFile(temp.folder() + '/' + copies()[0]), broken);
    EXPECT_EQ(readFile(temp.folder() + '/' + copies()[1]), "\"not data at all\"");

    // Only the first save keeps a copy; the list itself is now the user's new one.
    s.setProfiles({ mine, profile("Other") });
    EXPECT_EQ(copies().size(), 2);
    temp.reopen();
    EXPECT_EQ(temp.settings().profiles().size(), 2);
}

// One store for concurrent callers, in $XDG_CONFIG_HOME when that is absolute.
TEST(Settings, SharedInstanceIsCreatedOnceForConcurrentCallersInTheConfigFolder)
{
    const tremlor::testing::EnvGuard env { "XDG_CONFIG_HOME" };
    qputenv("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(UserDefaults::defaultFolder(), QDir::homePath() + "/.config/com.tremlor.app");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserDefaults::defaultFolder(), QDir::homePath() + "/.config/com.tremlor.app");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    std::vector<std::future<TremlorSettings*>> callers;
    for (int i = 0; i < 4; ++i)
        callers.push_back(std::async(std::launch::async, [] { return &TremlorSettings::shared(); }));
    TremlorSettings* first = &TremlorSettings::shared();
    for (auto& caller : callers)
        EXPECT_EQ(caller.get(), first);
    EXPECT_EQ(first->userDefaults().folder(), home.path() + "/com.tremlor.app");
    EXPECT_EQ(first->thread(), QCoreApplication::instance()->thread());
}
