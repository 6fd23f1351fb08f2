#include "Models/SettingsExport.h"

#include "TempDefaults.h"

#include <QMetaProperty>

#include <gtest/gtest.h>

using namespace tremlor;

namespace {

constexpr std::array<const char*, 20> keys { "maxInterval", "jiggleDistance", "movementPattern", "rotationMode",
    "appSwitchInterval", "launchIfNotRunning", "simulateKeyboard", "simulateClicks", "caffeineEnabled",
    "smartIdleEnabled", "idleThreshold", "showInDock", "playSoundOnToggle", "notifyOnExpiry", "menuBarDisplayMode",
    "defaultDurationId", "activeProfileId", "selectedAppBundleIDs", "profiles", "scheduleEntries" };

// A store with every setting away from its default and non-empty lists.
void customise(TremlorSettings& s)
{
    for (const QMetaProperty& property : scalarProperties(s))
        property.write(&s, different(property.read(&s)));
    s.setSelectedAppBundleIDs({ "firefox", "org.gnome.Calculator" });
    Profile p;
    p.id = QUuid::createUuid();
    p.name = "Work/Home";
    p.duration = Duration::custom(45);
    Profile other = p.duplicate();
    other.duration = Duration::indefinite();
    s.setProfiles({ p, other });
    ScheduleEntry e;
    e.id = QUuid::createUuid();
    e.days = { Weekday::monday, Weekday::sunday };
    e.startTime = DateComponents::time(8, 30);
    e.endTime = DateComponents::time(18, 0);
    e.profileId = p.id;
    s.setScheduleEntries({ e });
}

QByteArray exported(TremlorSettings& s)
{
    return *SettingsExport(s, s.profiles(), s.scheduleEntries()).encode();
}

} // namespace

TEST(SettingsExport, DefaultStoreEncodesTwentyKeysInOrder)
{
    TempDefaults temp;
    EXPECT_EQ(exported(temp.settings()),
        R"({"maxInterval":30,"jiggleDistance":3,"movementPattern":"bounce","rotationMode":"sequential",)"
        R"("appSwitchInterval":1,"launchIfNotRunning":true,"simulateKeyboard":true,"simulateClicks":false,)"
        R"("caffeineEnabled":false,"smartIdleEnabled":false,"idleThreshold":30,"showInDock":false,)"
        R"("playSoundOnToggle":false,"notifyOnExpiry":true,"menuBarDisplayMode":"iconOnly",)"
        R"("defaultDurationId":"1h","activeProfileId":"","selectedAppBundleIDs":[],"profiles":[],)"
        R"("scheduleEntries":[]})");
    temp.settings().setIdleThreshold(std::numeric_limits<double>::infinity());
    EXPECT_EQ(SettingsExport(temp.settings(), {}, {}).encode(), std::nullopt);
}

TEST(SettingsExport, ImportRestoresTheExportedSettingsAndLeavesTheRest)
{
    TempDefaults source;
    customise(source.settings());
    const QByteArray file = exported(source.settings());

    TempDefaults target;
    TremlorSettings& t = target.settings();
    t.setLaunchAtLogin(true);
    QStringList written;
    QObject context;
    QObject::connect(&target.defaults(), &UserDefaults::valueChanged, &context,
        [&written](const QString& key) { written.append(key); });

    const auto decoded = SettingsExport::decode(file);
    ASSERT_TRUE(decoded) << decoded.error->what();
    decoded.value->apply(t);
    QStringList expectedOrder;
    for (const char* key : keys)
        expectedOrder.append(key);
    EXPECT_EQ(written, expectedOrder);
    EXPECT_EQ(exported(t), file); // every exported value restored

    // Extra keys are ignored; an empty profile list removes every profile.
    auto root = nlohmann::json::parse(file.toStdString());
    root["launchAtLogin"] = false;
    root["profiles"] = nlohmann::json::array();
    const auto trimmed = SettingsExport::decode(QByteArray::fromStdString(root.dump()));
    ASSERT_TRUE(trimmed);
    trimmed.value->apply(t);
    EXPECT_TRUE(t.profiles().isEmpty());
    EXPECT_TRUE(t.launchAtLogin());
}

TEST(SettingsExport, AnyMissingOrMalformedKeyRejectsTheWholeFile)
{
    TempDefaults source;
    customise(source.settings());
    const auto root = nlohmann::json::parse(exported(source.settings()).toStdString());
    std::vector<std::pair<std::string, nlohmann::json>> broken;
    for (const char* key : keys) {
        nlohmann::json copy = root;
        copy.erase(key);
        broken.emplace_back(std::string("without ") + key, copy);
        copy = root;
        copy[key] = nlohmann::json::object({ { "x", 1 } });
        broken.emplace_back(std::string("object as ") + key, copy);
    }
    const auto with = [&root](const char* key, nlohmann::json value) {
        nlohmann::json copy = root;
        copy[key] = std::move(value);
        return std::pair { std::string(key) + " = " + copy[key].dump(), copy };
    };
    broken.push_back(with("movementPattern", "zigzag"));
    broken.push_back(with("appSwitchInterval", 1.5));
    broken.push_back(with("appSwitchInterval", 18446744073709551615ULL));
    broken.push_back(with("showInDock", 1));
    broken.push_back(with("selectedAppBundleIDs", nlohmann::json::array({ "a", nullptr })));
    nlohmann::json badDuration = root;
    badDuration["profiles"][0]["duration"] = nlohmann::json::object({ { "hours1", {} }, { "hours2", {} } });
    broken.emplace_back("two duration cases", badDuration);
    nlohmann::json badDay = root;
    badDay["scheduleEntries"][0]["days"] = nlohmann::json::array({ 8 });
    broken.emplace_back("day 8", badDay);

    for (const auto& [label, document] : broken)
        EXPECT_FALSE(SettingsExport::decode(QByteArray::fromStdString(document.dump()))) << label;
    EXPECT_TRUE(SettingsExport::decode(QByteArray::fromStdString(root.dump())));
}
