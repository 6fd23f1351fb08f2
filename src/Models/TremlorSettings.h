#pragma once

#include "Models/Enumerations.h"
#include "Models/Profile.h"
#include "Models/ScheduleEntry.h"
#include "Models/SettingsProviding.h"
#include "Platform/UserDefaults.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace tremlor {

// The user's settings: 22 scalars read from the user defaults at every access (absent or
// unusable values read as their defaults, which are never written by reading), and three lists
// kept in memory and saved as JSON data at every assignment. Lives on the main thread.
//
// objectWillChange() is emitted before every scalar write and every list assignment, whether
// or not the value changes; each property's own <name>Changed signal follows the store, and
// only when the value read back differs.
class TremlorSettings final : public QObject, public SettingsProviding {
    Q_OBJECT
    Q_PROPERTY(double maxInterval READ maxInterval WRITE setMaxInterval NOTIFY maxIntervalChanged)
    Q_PROPERTY(double jiggleDistance READ jiggleDistance WRITE setJiggleDistance NOTIFY jiggleDistanceChanged)
    Q_PROPERTY(tremlor::MovementPattern movementPattern READ movementPattern WRITE setMovementPattern NOTIFY
            movementPatternChanged)
    Q_PROPERTY(tremlor::RotationMode rotationMode READ rotationMode WRITE setRotationMode NOTIFY rotationModeChanged)
    Q_PROPERTY(
        qint64 appSwitchInterval READ appSwitchInterval WRITE setAppSwitchInterval NOTIFY appSwitchIntervalChanged)
    Q_PROPERTY(
        bool launchIfNotRunning READ launchIfNotRunning WRITE setLaunchIfNotRunning NOTIFY launchIfNotRunningChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool showInDock READ showInDock WRITE setShowInDock NOTIFY showInDockChanged)
    Q_PROPERTY(tremlor::MenuBarDisplayMode menuBarDisplayMode READ menuBarDisplayMode WRITE setMenuBarDisplayMode NOTIFY
            menuBarDisplayModeChanged)
    Q_PROPERTY(bool playSoundOnToggle READ playSoundOnToggle WRITE setPlaySoundOnToggle NOTIFY playSoundOnToggleChanged)
    Q_PROPERTY(bool caffeineEnabled READ caffeineEnabled WRITE setCaffeineEnabled NOTIFY caffeineEnabledChanged)
    Q_PROPERTY(bool simulateKeyboard READ simulateKeyboard WRITE setSimulateKeyboard NOTIFY simulateKeyboardChanged)
    Q_PROPERTY(bool simulateClicks READ simulateClicks WRITE setSimulateClicks NOTIFY simulateClicksChanged)
    Q_PROPERTY(bool smartIdleEnabled READ smartIdleEnabled WRITE setSmartIdleEnabled NOTIFY smartIdleEnabledChanged)
    Q_PROPERTY(double idleThreshold READ idleThreshold WRITE setIdleThreshold NOTIFY idleThresholdChanged)
    Q_PROPERTY(bool showCountdownInMenuBar READ showCountdownInMenuBar WRITE setShowCountdownInMenuBar NOTIFY
            showCountdownInMenuBarChanged)
    Q_PROPERTY(bool notifyOnExpiry READ notifyOnExpiry WRITE setNotifyOnExpiry NOTIFY notifyOnExpiryChanged)
    Q_PROPERTY(
        QString defaultDurationId READ defaultDurationId WRITE setDefaultDurationId NOTIFY defaultDurationIdChanged)
    Q_PROPERTY(bool hasCompletedOnboarding READ hasCompletedOnboarding WRITE setHasCompletedOnboarding NOTIFY
            hasCompletedOnboardingChanged)
    Q_PROPERTY(QString activeProfileId READ activeProfileId WRITE setActiveProfileId NOTIFY activeProfileIdChanged)
    Q_PROPERTY(bool popoverExpanded READ popoverExpanded WRITE setPopoverExpanded NOTIFY popoverExpandedChanged)
    Q_PROPERTY(
        QString lastUsedDurationId READ lastUsedDurationId WRITE setLastUsedDurationId NOTIFY lastUsedDurationIdChanged)
    Q_PROPERTY(QStringList selectedAppBundleIDs READ selectedAppBundleIDs WRITE setSelectedAppBundleIDs NOTIFY
            selectedAppBundleIDsChanged)
    Q_PROPERTY(QList<tremlor::Profile> profiles READ profiles WRITE setProfiles NOTIFY profilesChanged)
    Q_PROPERTY(QList<tremlor::ScheduleEntry> scheduleEntries READ scheduleEntries WRITE setScheduleEntries NOTIFY
            scheduleEntriesChanged)

public:
    // A store over the given domain; the three lists are loaded at once.
    explicit TremlorSettings(UserDefaults& defaults, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TremlorSettings)

    // The single production store over UserDefaults::standard(), created once on first use
    // (even when several threads ask at the same time) and kept for the whole run.
    static TremlorSettings& shared();

    double maxInterval() const { return readDouble(Key::maxInterval); }
    void setMaxInterval(double value) { write(Key::maxInterval, value); }
    double jiggleDistance() const { return readDouble(Key::jiggleDistance); }
    void setJiggleDistance(double value) { write(Key::jiggleDistance, value); }
    MovementPattern movementPattern() const { return readEnum<MovementPattern>(Key::movementPattern); }
    void setMovementPattern(MovementPattern value) { write(Key::movementPattern, rawValue(value)); }
    RotationMode rotationMode() const { return readEnum<RotationMode>(Key::rotationMode); }
    void setRotationMode(RotationMode value) { write(Key::rotationMode, rawValue(value)); }
    std::int64_t appSwitchInterval() const { return readInteger(Key::appSwitchInterval); }
    void setAppSwitchInterval(std::int64_t value) { write(Key::appSwitchInterval, value); }
    bool launchIfNotRunning() const { return readBool(Key::launchIfNotRunning); }
    void setLaunchIfNotRunning(bool value) { write(Key::launchIfNotRunning, value); }
    bool launchAtLogin() const { return readBool(Key::launchAtLogin); }
    void setLaunchAtLogin(bool value) { write(Key::launchAtLogin, value); }
    bool showInDock() const { return readBool(Key::showInDock); }
    void setShowInDock(bool value) { write(Key::showInDock, value); }
    MenuBarDisplayMode menuBarDisplayMode() const { return readEnum<MenuBarDisplayMode>(Key::menuBarDisplayMode); }
    void setMenuBarDisplayMode(MenuBarDisplayMode value) { write(Key::menuBarDisplayMode, rawValue(value)); }
    bool playSoundOnToggle() const { return readBool(Key::playSoundOnToggle); }
    void setPlaySoundOnToggle(bool value) { write(Key::playSoundOnToggle, value); }
    bool caffeineEnabled() const { return readBool(Key::caffeineEnabled); }
    void setCaffeineEnabled(bool value) { write(Key::caffeineEnabled, value); }
    bool simulateKeyboard() const { return readBool(Key::simulateKeyboard); }
    void setSimulateKeyboard(bool value) { write(Key::simulateKeyboard, value); }
    bool simulateClicks() const { return readBool(Key::simulateClicks); }
    void setSimulateClicks(bool value) { write(Key::simulateClicks, value); }
    bool smartIdleEnabled() const { return readBool(Key::smartIdleEnabled); }
    void setSmartIdleEnabled(bool value) { write(Key::smartIdleEnabled, value); }
    double idleThreshold() const { return readDouble(Key::idleThreshold); }
    void setIdleThreshold(double value) { write(Key::idleThreshold, value); }
    bool showCountdownInMenuBar() const { return readBool(Key::showCountdownInMenuBar); }
    void setShowCountdownInMenuBar(bool value) { write(Key::showCountdownInMenuBar, value); }
    bool notifyOnExpiry() const { return readBool(Key::notifyOnExpiry); }
    void setNotifyOnExpiry(bool value) { write(Key::notifyOnExpiry, value); }
    QString defaultDurationId() const { return readString(Key::defaultDurationId); }
    void setDefaultDurationId(const QString& value) { write(Key::defaultDurationId, value); }
    bool hasCompletedOnboarding() const { return readBool(Key::hasCompletedOnboarding); }
    void setHasCompletedOnboarding(bool value) { write(Key::hasCompletedOnboarding, value); }
    QString activeProfileId() const { return readString(Key::activeProfileId); }
    void setActiveProfileId(const QString& value) { write(Key::activeProfileId, value); }
    bool popoverExpanded() const { return readBool(Key::popoverExpanded); }
    void setPopoverExpanded(bool value) { write(Key::popoverExpanded, value); }
    QString lastUsedDurationId() const { return readString(Key::lastUsedDurationId); }
    void setLastUsedDurationId(const QString& value) { write(Key::lastUsedDurationId, value); }

    const QStringList& selectedAppBundleIDs() const { return m_selectedAppBundleIDs; }
    const QList<Profile>& profiles() const { return m_profiles; }
    const QList<ScheduleEntry>& scheduleEntries() const { return m_scheduleEntries; }
    // Each assignment stores the list and then saves it under its key.
    void setSelectedAppBundleIDs(const QStringList& ids);
    void setProfiles(const QList<Profile>& profiles);
    void setScheduleEntries(const QList<ScheduleEntry>& entries);

    // Copies the profile's applications and behaviour settings in; its duration is not applied.
    void applyProfile(const Profile& profile);
    // A new profile (fresh id) from the current settings, with defaultDurationId resolved.
    Profile captureAsProfile(const QString& name) const;
    // Writes every default except hasCompletedOnboarding, profiles and scheduleEntries.
    void resetToDefaults();

    // Runs `changes` as one change of the whole record: objectWillChange once before, then,
    // after every value is stored, each changed setting's signal once. An observer that reads
    // one setting when another changes never meets a half-applied record.
    void changeAtOnce(const std::function<void()>& changes);

    UserDefaults& userDefaults() const { return m_defaults; }

Q_SIGNALS:
    void objectWillChange();
    void maxIntervalChanged();
    void jiggleDistanceChanged();
    void movementPatternChanged();
    void rotationModeChanged();
    void appSwitchIntervalChanged();
    void launchIfNotRunningChanged();
    void launchAtLoginChanged();
    void showInDockChanged();
    void menuBarDisplayModeChanged();
    void playSoundOnToggleChanged();
    void caffeineEnabledChanged();
    void simulateKeyboardChanged();
    void simulateClicksChanged();
    void smartIdleEnabledChanged();
    void idleThresholdChanged();
    void showCountdownInMenuBarChanged();
    void notifyOnExpiryChanged();
    void defaultDurationIdChanged();
    void hasCompletedOnboardingChanged();
    void activeProfileIdChanged();
    void popoverExpandedChanged();
    void lastUsedDurationIdChanged();
    void selectedAppBundleIDsChanged();
    void profilesChanged();
    void scheduleEntriesChanged();

private:
    enum class Key : int {
        maxInterval,
        jiggleDistance,
        movementPattern,
        rotationMode,
        appSwitchInterval,
        launchIfNotRunning,
        launchAtLogin,
        showInDock,
        menuBarDisplayMode,
        playSoundOnToggle,
        caffeineEnabled,
        simulateKeyboard,
        simulateClicks,
        smartIdleEnabled,
        idleThreshold,
        showCountdownInMenuBar,
        notifyOnExpiry,
        defaultDurationId,
        hasCompletedOnboarding,
        activeProfileId,
        popoverExpanded,
        lastUsedDurationId
    };
    enum class Type { number, integer, boolean, string, enumeration };
    struct Setting {
        QString key;
        Type type;
        UserDefaults::Value defaultValue;
        void (TremlorSettings::*changed)();
    };
    static constexpr std::size_t settingCount = 22;
    static const std::array<Setting, settingCount>& table();
    static const Setting& setting(Key key) { return table()[static_cast<std::size_t>(key)]; }

    double readDouble(Key key) const;
    std::int64_t readInteger(Key key) const;
    bool readBool(Key key) const;
    QString readString(Key key) const;
    template <typename E> E readEnum(Key key) const
    {
        if (const auto stored = m_defaults.stringValue(setting(key).key)) {
            if (const auto value = fromRawValue<E>(*stored))
                return *value;
        }
        return *fromRawValue<E>(std::get<QString>(setting(key).defaultValue));
    }
    // The value a read would give, in the stored form.
    UserDefaults::Value effectiveValue(Key key) const;
    void write(Key key, const UserDefaults::Value& value);
    void writeDefault(Key key);
    using ChangeSignal = void (TremlorSettings::*)();
    void willChange();
    void announce(ChangeSignal signal);

    void loadSelectedApps();
    void loadProfiles();
    void loadScheduleEntries();
    void saveSelectedApps();
    void saveProfiles();
    void saveScheduleEntries();
    // Undecodable stored data of a list, kept until a copy of it is safe beside the file.
    std::optional<QByteArray> storedListData(const QString& key);
    void saveList(const QString& key, const std::optional<QByteArray>& data);

    UserDefaults& m_defaults;
    QStringList m_selectedAppBundleIDs;
    QList<Profile> m_profiles;
    QList<ScheduleEntry> m_scheduleEntries;
    QHash<QString, QByteArray> m_undecodable;
    int m_heldDepth = 0;
    QList<ChangeSignal> m_heldSignals;
};

} // namespace tremlor
