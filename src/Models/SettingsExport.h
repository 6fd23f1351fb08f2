#pragma once

#include "Models/Enumerations.h"
#include "Models/Profile.h"
#include "Models/ScheduleEntry.h"
#include "Models/SettingDefaults.h"
#include "Platform/Json.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tremlor {

class TremlorSettings;

// The settings file: the store's behaviour settings, its chosen applications, and the given
// profiles and schedule entries, as one JSON object of 20 keys.
struct SettingsExport {
    double maxInterval = defaults::maxInterval;
    double jiggleDistance = defaults::jiggleDistance;
    MovementPattern movementPattern = defaults::movementPattern;
    RotationMode rotationMode = defaults::rotationMode;
    std::int64_t appSwitchInterval = defaults::appSwitchInterval;
    bool launchIfNotRunning = defaults::launchIfNotRunning;
    bool simulateKeyboard = defaults::simulateKeyboard;
    bool simulateClicks = defaults::simulateClicks;
    bool caffeineEnabled = defaults::caffeineEnabled;
    bool smartIdleEnabled = defaults::smartIdleEnabled;
    double idleThreshold = defaults::idleThreshold;
    bool showInDock = defaults::showInDock;
    bool playSoundOnToggle = defaults::playSoundOnToggle;
    bool notifyOnExpiry = defaults::notifyOnExpiry;
    MenuBarDisplayMode menuBarDisplayMode = defaults::menuBarDisplayMode;
    QString defaultDurationId = QString::fromLatin1(defaults::defaultDurationId);
    QString activeProfileId;
    QStringList selectedAppBundleIDs;
    QList<Profile> profiles;
    QList<ScheduleEntry> scheduleEntries;

    SettingsExport() = default;
    // Reads the store's settings; profiles and entries come from the arguments.
    SettingsExport(const TremlorSettings& settings, QList<Profile> profiles, QList<ScheduleEntry> entries);

    // Throws EncodingError (a non-finite number).
    OrderedJson toJson() const;
    // All 20 keys are required, others are ignored. Throws DecodingError.
    static SettingsExport fromJson(const JsonDecoder& decoder);

    // The file's text; nullopt when a value cannot be encoded.
    std::optional<QByteArray> encode() const;
    // Nothing partial: a value, or the error that rejected the whole document.
    static DecodeResult<SettingsExport> decode(const QByteArray& data);

    // Writes the 17 scalars in field order, then each list with one save, as one change of
    // the store (announced after the last value).
    void apply(TremlorSettings& settings) const;

    friend bool operator==(const SettingsExport&, const SettingsExport&) = default;

private:
    void applyValues(TremlorSettings& settings) const;
};

} // namespace tremlor
