#pragma once

#include "Models/Enumerations.h"
#include "Models/Profile.h"
#include "Models/ScheduleEntry.h"
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
    double maxInterval = 30.0;
    double jiggleDistance = 3.0;
    MovementPattern movementPattern = MovementPattern::bounce;
    RotationMode rotationMode = RotationMode::sequential;
    std::int64_t appSwitchInterval = 1;
    bool launchIfNotRunning = true;
    bool simulateKeyboard = true;
    bool simulateClicks = false;
    bool caffeineEnabled = false;
    bool smartIdleEnabled = false;
    double idleThreshold = 30.0;
    bool showInDock = false;
    bool playSoundOnToggle = false;
    bool notifyOnExpiry = true;
    MenuBarDisplayMode menuBarDisplayMode = MenuBarDisplayMode::iconOnly;
    QString defaultDurationId = QStringLiteral("1h");
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
