#pragma once

#include "Models/Duration.h"
#include "Models/Enumerations.h"
#include "Models/SettingDefaults.h"
#include "Platform/Json.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <cstdint>
#include <optional>

namespace tremlor {

// A named, saved set of behaviour settings. The defaults are the settings store's defaults;
// values are kept as given (no range check).
struct Profile {
    QUuid id;
    QString name;
    QStringList selectedAppBundleIDs;
    double maxInterval = defaults::maxInterval;
    double jiggleDistance = defaults::jiggleDistance;
    MovementPattern movementPattern = defaults::movementPattern;
    RotationMode rotationMode = defaults::rotationMode;
    Duration duration = Duration::hours1();
    bool caffeineEnabled = defaults::caffeineEnabled;
    std::int64_t appSwitchInterval = defaults::appSwitchInterval;
    bool launchIfNotRunning = defaults::launchIfNotRunning;

    // A copy with a fresh id, named newName or else the source's name followed by " Copy".
    Profile duplicate(const std::optional<QString>& newName = std::nullopt) const;

    // Throws EncodingError (a non-finite number).
    OrderedJson toJson() const;
    // All eleven members are required. Throws DecodingError.
    static Profile fromJson(const JsonDecoder& decoder);

    // A whole list, as the store and the settings file keep it.
    static std::optional<QByteArray> encodeList(const QList<Profile>& profiles);
    static DecodeResult<QList<Profile>> decodeList(const QByteArray& data);
    static OrderedJson listToJson(const QList<Profile>& profiles);
    static QList<Profile> listFromJson(const JsonDecoder& decoder);

    friend bool operator==(const Profile& a, const Profile& b);
    friend bool operator!=(const Profile& a, const Profile& b) { return !(a == b); }
};

// Agrees with equality: -0.0 hashes as 0.0.
std::size_t qHash(const Profile& profile, std::size_t seed = 0) noexcept;

} // namespace tremlor

template <> struct std::hash<tremlor::Profile> {
    std::size_t operator()(const tremlor::Profile& p) const noexcept { return tremlor::qHash(p); }
};
