#include "Models/TremlorSettings.h"
#include "TempDefaults.h"

#include <QDir>
#include <QMetaProperty>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace tremlor;

namespace {

// Every key the domain receives, in order.
class WriteLog {
public:
    explicit WriteLog(UserDefaults& defaults)
    {
        QObject::connect(
            &defaults, &UserDefaults::valueChanged, &m_context, [this](const QString& key) { keys.append(key); });
    }
    QStringList keys;

private:
    QObject m_context;
};

Profile profile(const QString& name)
{
    Profile p;
    p.id = QUuid::createUuid();
    p.name = name;
    return p;
}

} // namespace

// Defaults themselves are checked through the settings file
// (SettingsExport.DefaultStoreEncodesTwentyKeysInOrder).
TEST(Settings, FirstStartWritesNothing)
{
    TempDefaults temp;
    temp.reopen();
    EXPECT_FALSE(QFile::exists(temp.filePath()));
}

TEST(Settings, EveryScalarIsStoredUnderItsNameAndSurvivesARestart)
{
    TempDefaults temp;
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
    temp.settings().setMaxInterval(45.0);
    temp.reopen();
    EXPECT_EQ(temp.settings().maxInterval(), 45.0);
    EXPECT_EQ(temp.defaults().doubleValue("maxInterval"), 45.0);
}

TEST(Settings, UnusableStoredValuesReadAsDefaultsAndStayStored)
{
    TempDefaults temp;
    temp.replaceFile(
        R"({"movementPattern":"zigzag","rotationMode":"Random","maxInterval":"45","appSwitchInterval":2.5,)"
        R"("simulateKeyboard":0})");
    TremlorSettings& s = temp.settings();
    EXPECT_EQ(s.movementPattern(), MovementPattern::bounce);
    EXPECT_EQ(s.rotationMode(), RotationMode::sequential);
    EXPECT_EQ(s.maxInterval(), 30.0);
    EXPECT_EQ(s.appSwitchInterval(), 1);
    EXPECT_TRUE(s.simulateKeyboard());
    EXPECT_EQ(temp.defaults().stringValue("movementPattern"), "zigzag");
}

TEST(Settings, ChangesAreAnnouncedBeforeTheStoreAndSignalledAfter)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    QList<double> seenBefore;
    QList<double> seenAfter;
    QObject context;
    QObject::connect(&s, &TremlorSettings::objectWillChange, &context, [&] { seenBefore.append(s.maxInterval()); });
    QObject::connect(&s, &TremlorSettings::maxIntervalChanged, &context, [&] { seenAfter.append(s.maxInterval()); });
    QSignalSpy will(&s, &TremlorSettings::objectWillChange);
    s.setMaxInterval(10.0);
    EXPECT_EQ(seenBefore, QList<double> { 30.0 });
    EXPECT_EQ(seenAfter, QList<double> { 10.0 });
    s.setMaxInterval(10.0); // announced again, but nothing changed for views
    EXPECT_EQ(will.size(), 2);
    EXPECT_EQ(seenAfter.size(), 1);

    QList<qsizetype> profileCountsBefore;
    QObject::connect(
        &s, &TremlorSettings::objectWillChange, &context, [&] { profileCountsBefore.append(s.profiles().size()); });
    QSignalSpy profilesChanged(&s, &TremlorSettings::profilesChanged);
    s.setProfiles({ profile("A") });
    EXPECT_EQ(profileCountsBefore, QList<qsizetype> { 0 });
    EXPECT_EQ(profilesChanged.size(), 1);
}

TEST(Settings, EachListChangeIsSavedOnceWhole)
{
    TempDefaults temp;
    WriteLog log(temp.defaults());
    QList<Profile> list = temp.settings().profiles();
    list.append(profile("One"));
    temp.settings().setProfiles(list);
    list.append(profile("Two"));
    temp.settings().setProfiles(list);
    EXPECT_EQ(log.keys, QStringList({ "profiles", "profiles" }));
    ScheduleEntry entry;
    entry.id = QUuid::createUuid();
    entry.days = { Weekday::monday };
    entry.profileId = list[1].id;
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

TEST(Settings, ApplyProfileWritesItsFieldsInOrderButNotItsDuration)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    s.setDefaultDurationId("30m");
    Profile p = profile("Work");
    p.selectedAppBundleIDs = { "firefox" };
    p.maxInterval = 12.0;
    p.jiggleDistance = 7.0;
    p.movementPattern = MovementPattern::drift;
    p.rotationMode = RotationMode::random;
    p.duration = Duration::hours8();
    p.caffeineEnabled = true;
    p.appSwitchInterval = 5;
    p.launchIfNotRunning = false;
    WriteLog log(temp.defaults());
    s.applyProfile(p);
    EXPECT_EQ(log.keys,
        QStringList({ "selectedAppBundleIDs", "maxInterval", "jiggleDistance", "movementPattern", "rotationMode",
            "caffeineEnabled", "appSwitchInterval", "launchIfNotRunning", "activeProfileId" }));
    EXPECT_EQ(s.activeProfileId(), p.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(s.defaultDurationId(), "30m");

    Profile captured = s.captureAsProfile("New Profile");
    EXPECT_NE(captured.id, p.id);
    captured.id = p.id;
    captured.name = p.name;
    p.duration = Duration::minutes30();
    EXPECT_EQ(captured, p);
}

TEST(Settings, CaptureResolvesTheDefaultDurationIncludingCustomDefaults)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    QSignalSpy will(&s, &TremlorSettings::objectWillChange);
    s.setDefaultDurationId("custom_45");
    EXPECT_EQ(s.captureAsProfile("A").duration, Duration::custom(45));
    s.setDefaultDurationId("inf");
    EXPECT_EQ(s.captureAsProfile("").duration, Duration::indefinite());
    EXPECT_EQ(will.size(), 2); // capturing changes nothing
    EXPECT_TRUE(s.profiles().isEmpty());
    EXPECT_EQ(s.activeProfileId(), "");
}

TEST(Settings, ResetWritesEveryDefaultInOrderAndKeepsProfilesAndSchedule)
{
    TempDefaults temp;
    TremlorSettings& s = temp.settings();
    for (const QMetaProperty& property : scalarProperties(s))
        property.write(&s, different(property.read(&s)));
    s.setSelectedAppBundleIDs({ "firefox" });
    s.setProfiles({ profile("Keep") });
    s.setScheduleEntries({ ScheduleEntry {} });
    WriteLog log(temp.defaults());
    s.resetToDefaults();
    EXPECT_EQ(log.keys,
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
    temp.defaults().set("selectedAppBundleIDs", QByteArray(R"(["a","b"])"));
    temp.reopen();
    TremlorSettings& s = temp.settings();
    EXPECT_TRUE(s.profiles().isEmpty());
    EXPECT_TRUE(s.scheduleEntries().isEmpty());
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "a", "b" }));
    EXPECT_EQ(temp.defaults().dataValue("profiles"), broken); // untouched while the list is unchanged

    const Profile mine = profile("New");
    s.setProfiles({ mine });
    s.setScheduleEntries({});
    const QStringList copies
        = QDir(temp.folder()).entryList({ "profiles.unreadable-*", "scheduleEntries.unreadable-*" }, QDir::Files);
    ASSERT_EQ(copies.size(), 2) << copies.join(' ').toStdString();
    QFile profileCopy(temp.folder() + '/' + copies[0]);
    ASSERT_TRUE(profileCopy.open(QIODevice::ReadOnly));
    EXPECT_EQ(profileCopy.readAll(), broken);
    QFile entryCopy(temp.folder() + '/' + copies[1]);
    ASSERT_TRUE(entryCopy.open(QIODevice::ReadOnly));
    EXPECT_EQ(entryCopy.readAll(), "\"not data at all\"");

    // Only the first save keeps a copy; the list itself is now the user's new one.
    s.setProfiles({ mine, profile("Other") });
    EXPECT_EQ(QDir(temp.folder()).entryList({ "*.unreadable-*" }, QDir::Files).size(), 2);
    temp.reopen();
    EXPECT_EQ(temp.settings().profiles().size(), 2);
}

TEST(Settings, SharedInstanceIsCreatedOnceForConcurrentCallers)
{
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
    qunsetenv("XDG_CONFIG_HOME");
}
