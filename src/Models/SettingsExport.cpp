#include "Models/SettingsExport.h"

#include "Models/TremlorSettings.h"

namespace tremlor {

SettingsExport::SettingsExport(
    const TremlorSettings& settings, QList<Profile> profileList, QList<ScheduleEntry> entries)
    : maxInterval(settings.maxInterval())
    , jiggleDistance(settings.jiggleDistance())
    , movementPattern(settings.movementPattern())
    , rotationMode(settings.rotationMode())
    , appSwitchInterval(settings.appSwitchInterval())
    , launchIfNotRunning(settings.launchIfNotRunning())
    , simulateKeyboard(settings.simulateKeyboard())
    , simulateClicks(settings.simulateClicks())
    , caffeineEnabled(settings.caffeineEnabled())
    , smartIdleEnabled(settings.smartIdleEnabled())
    , idleThreshold(settings.idleThreshold())
    , showInDock(settings.showInDock())
    , playSoundOnToggle(settings.playSoundOnToggle())
    , notifyOnExpiry(settings.notifyOnExpiry())
    , menuBarDisplayMode(settings.menuBarDisplayMode())
    , defaultDurationId(settings.defaultDurationId())
    , activeProfileId(settings.activeProfileId())
    , selectedAppBundleIDs(settings.selectedAppBundleIDs())
    , profiles(std::move(profileList))
    , scheduleEntries(std::move(entries))
{
}

OrderedJson SettingsExport::toJson() const
{
    OrderedJson o = OrderedJson::object();
    o["maxInterval"] = json::number(maxInterval);
    o["jiggleDistance"] = json::number(jiggleDistance);
    o["movementPattern"] = enumToJson(movementPattern);
    o["rotationMode"] = enumToJson(rotationMode);
    o["appSwitchInterval"] = appSwitchInterval;
    o["launchIfNotRunning"] = launchIfNotRunning;
    o["simulateKeyboard"] = simulateKeyboard;
    o["simulateClicks"] = simulateClicks;
    o["caffeineEnabled"] = caffeineEnabled;
    o["smartIdleEnabled"] = smartIdleEnabled;
    o["idleThreshold"] = json::number(idleThreshold);
    o["showInDock"] = showInDock;
    o["playSoundOnToggle"] = playSoundOnToggle;
    o["notifyOnExpiry"] = notifyOnExpiry;
    o["menuBarDisplayMode"] = enumToJson(menuBarDisplayMode);
    o["defaultDurationId"] = json::string(defaultDurationId);
    o["activeProfileId"] = json::string(activeProfileId);
    o["selectedAppBundleIDs"] = json::stringList(selectedAppBundleIDs);
    o["profiles"] = Profile::listToJson(profiles);
    o["scheduleEntries"] = ScheduleEntry::listToJson(scheduleEntries);
    return o;
}

SettingsExport SettingsExport::fromJson(const JsonDecoder& d)
{
    SettingsExport e;
    e.maxInterval = d.member("maxInterval").number();
    e.jiggleDistance = d.member("jiggleDistance").number();
    e.movementPattern = enumFromJson<MovementPattern>(d.member("movementPattern"));
    e.rotationMode = enumFromJson<RotationMode>(d.member("rotationMode"));
    e.appSwitchInterval = d.member("appSwitchInterval").integer();
    e.launchIfNotRunning = d.member("launchIfNotRunning").boolean();
    e.simulateKeyboard = d.member("simulateKeyboard").boolean();
    e.simulateClicks = d.member("simulateClicks").boolean();
    e.caffeineEnabled = d.member("caffeineEnabled").boolean();
    e.smartIdleEnabled = d.member("smartIdleEnabled").boolean();
    e.idleThreshold = d.member("idleThreshold").number();
    e.showInDock = d.member("showInDock").boolean();
    e.playSoundOnToggle = d.member("playSoundOnToggle").boolean();
    e.notifyOnExpiry = d.member("notifyOnExpiry").boolean();
    e.menuBarDisplayMode = enumFromJson<MenuBarDisplayMode>(d.member("menuBarDisplayMode"));
    e.defaultDurationId = d.member("defaultDurationId").string();
    e.activeProfileId = d.member("activeProfileId").string();
    e.selectedAppBundleIDs = d.member("selectedAppBundleIDs").stringList();
    e.profiles = Profile::listFromJson(d.member("profiles"));
    e.scheduleEntries = ScheduleEntry::listFromJson(d.member("scheduleEntries"));
    return e;
}

std::optional<QByteArray> SettingsExport::encode() const
{
    return json::encode([this] { return toJson(); });
}

DecodeResult<SettingsExport> SettingsExport::decode(const QByteArray& data)
{
    return json::decode<SettingsExport>(data, &SettingsExport::fromJson);
}

void SettingsExport::apply(TremlorSettings& settings) const
{
    // Announced only once all is stored: a reaction to the new activeProfileId finds the new
    // profiles, and the engine reads no half-applied record.
    settings.changeAtOnce([this, &settings] { applyValues(settings); });
}

void SettingsExport::applyValues(TremlorSettings& settings) const
{
    settings.setMaxInterval(maxInterval);
    settings.setJiggleDistance(jiggleDistance);
    settings.setMovementPattern(movementPattern);
    settings.setRotationMode(rotationMode);
    settings.setAppSwitchInterval(appSwitchInterval);
    settings.setLaunchIfNotRunning(launchIfNotRunning);
    settings.setSimulateKeyboard(simulateKeyboard);
    settings.setSimulateClicks(simulateClicks);
    settings.setCaffeineEnabled(caffeineEnabled);
    settings.setSmartIdleEnabled(smartIdleEnabled);
    settings.setIdleThreshold(idleThreshold);
    settings.setShowInDock(showInDock);
    settings.setPlaySoundOnToggle(playSoundOnToggle);
    settings.setNotifyOnExpiry(notifyOnExpiry);
    settings.setMenuBarDisplayMode(menuBarDisplayMode);
    settings.setDefaultDurationId(defaultDurationId);
    settings.setActiveProfileId(activeProfileId);
    settings.setSelectedAppBundleIDs(selectedAppBundleIDs);
    settings.setProfiles(profiles);
    settings.setScheduleEntries(scheduleEntries);
}

} // namespace tremlor
