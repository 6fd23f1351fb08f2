#include "Models/Profile.h"

#include <QHashFunctions>

namespace tremlor {

namespace {

std::size_t hashDouble(double value, std::size_t seed)
{
    return ::qHash(value == 0.0 ? 0.0 : value, seed);
}

} // namespace

Profile Profile::duplicate(const std::optional<QString>& newName) const
{
    Profile copy = *this;
    copy.id = QUuid::createUuid();
    copy.name = newName ? *newName : name + QStringLiteral(" Copy");
    return copy;
}

OrderedJson Profile::toJson() const
{
    OrderedJson object = OrderedJson::object();
    object["id"] = json::uuidText(id).toStdString();
    object["name"] = json::string(name);
    object["selectedAppBundleIDs"] = json::stringList(selectedAppBundleIDs);
    object["maxInterval"] = json::number(maxInterval);
    object["jiggleDistance"] = json::number(jiggleDistance);
    object["movementPattern"] = enumToJson(movementPattern);
    object["rotationMode"] = enumToJson(rotationMode);
    object["duration"] = duration.toJson();
    object["caffeineEnabled"] = caffeineEnabled;
    object["appSwitchInterval"] = appSwitchInterval;
    object["launchIfNotRunning"] = launchIfNotRunning;
    return object;
}

Profile Profile::fromJson(const JsonDecoder& decoder)
{
    Profile p;
    p.id = decoder.member("id").uuid();
    p.name = decoder.member("name").string();
    p.selectedAppBundleIDs = decoder.member("selectedAppBundleIDs").stringList();
    p.maxInterval = decoder.member("maxInterval").number();
    p.jiggleDistance = decoder.member("jiggleDistance").number();
    p.movementPattern = enumFromJson<MovementPattern>(decoder.member("movementPattern"));
    p.rotationMode = enumFromJson<RotationMode>(decoder.member("rotationMode"));
    p.duration = Duration::fromJson(decoder.member("duration"));
    p.caffeineEnabled = decoder.member("caffeineEnabled").boolean();
    p.appSwitchInterval = decoder.member("appSwitchInterval").integer();
    p.launchIfNotRunning = decoder.member("launchIfNotRunning").boolean();
    return p;
}

OrderedJson Profile::listToJson(const QList<Profile>& profiles)
{
    OrderedJson array = OrderedJson::array();
    for (const Profile& profile : profiles)
        array.push_back(profile.toJson());
    return array;
}

QList<Profile> Profile::listFromJson(const JsonDecoder& decoder)
{
    QList<Profile> profiles;
    profiles.reserve(static_cast<qsizetype>(decoder.arraySize()));
    decoder.forEachElement([&profiles](const JsonDecoder& element) { profiles.append(fromJson(element)); });
    return profiles;
}

std::optional<QByteArray> Profile::encodeList(const QList<Profile>& profiles)
{
    return json::encode([&profiles] { return listToJson(profiles); });
}

DecodeResult<QList<Profile>> Profile::decodeList(const QByteArray& data)
{
    return json::decode<QList<Profile>>(data, &Profile::listFromJson);
}

bool operator==(const Profile& a, const Profile& b)
{
    return a.id == b.id && a.name == b.name && a.selectedAppBundleIDs == b.selectedAppBundleIDs
        && a.maxInterval == b.maxInterval && a.jiggleDistance == b.jiggleDistance
        && a.movementPattern == b.movementPattern && a.rotationMode == b.rotationMode && a.duration == b.duration
        && a.caffeineEnabled == b.caffeineEnabled && a.appSwitchInterval == b.appSwitchInterval
        && a.launchIfNotRunning == b.launchIfNotRunning;
}

std::size_t qHash(const Profile& p, std::size_t seed) noexcept
{
    seed = ::qHash(p.id, seed);
    seed = ::qHash(p.name, seed);
    for (const QString& bundleId : p.selectedAppBundleIDs)
        seed = ::qHash(bundleId, seed);
    seed = ::qHash(p.selectedAppBundleIDs.size(), seed);
    seed = hashDouble(p.maxInterval, seed);
    seed = hashDouble(p.jiggleDistance, seed);
    seed = ::qHash(static_cast<int>(p.movementPattern), seed);
    seed = ::qHash(static_cast<int>(p.rotationMode), seed);
    seed = qHash(p.duration, seed);
    seed = ::qHash(p.caffeineEnabled, seed);
    seed = ::qHash(static_cast<qint64>(p.appSwitchInterval), seed);
    seed = ::qHash(p.launchIfNotRunning, seed);
    return seed;
}

} // namespace tremlor
