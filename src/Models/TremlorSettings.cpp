#include "Models/TremlorSettings.h"

#include "Models/SettingDefaults.h"

#include <QCoreApplication>

#include <utility>

namespace tremlor {

namespace {

// Reads a stored list. Data that is absent reads as nullopt; data that is present but cannot
// be decoded is remembered in undecodable (and reads as nullopt) so it can be kept safe.
template <typename T>
std::optional<T> loadList(UserDefaults& defaults, const QString& key, QHash<QString, QByteArray>& undecodable,
    DecodeResult<T> (*decode)(const QByteArray&))
{
    const std::optional<QByteArray> data = defaults.dataValue(key);
    if (!data) {
        if (defaults.contains(key))
            undecodable.insert(key, defaults.jsonText(key));
        return std::nullopt;
    }
    DecodeResult<T> result = decode(*data);
    if (!result) {
        undecodable.insert(key, *data);
        return std::nullopt;
    }
    return std::move(*result.value);
}

DecodeResult<QStringList> decodeStringList(const QByteArray& data)
{
    return json::decode<QStringList>(data, [](const JsonDecoder& d) { return d.stringList(); });
}

} // namespace

const std::array<TremlorSettings::Setting, TremlorSettings::settingCount>& TremlorSettings::table()
{
    // clang-format off
    static const std::array<Setting, settingCount> settings { {
        { QStringLiteral("maxInterval"), Type::number, defaults::maxInterval, &TremlorSettings::maxIntervalChanged },
        { QStringLiteral("jiggleDistance"), Type::number, defaults::jiggleDistance, &TremlorSettings::jiggleDistanceChanged },
        { QStringLiteral("movementPattern"), Type::enumeration, rawValue(defaults::movementPattern), &TremlorSettings::movementPatternChanged },
        { QStringLiteral("rotationMode"), Type::enumeration, rawValue(defaults::rotationMode), &TremlorSettings::rotationModeChanged },
        { QStringLiteral("appSwitchInterval"), Type::integer, defaults::appSwitchInterval, &TremlorSettings::appSwitchIntervalChanged },
        { QStringLiteral("launchIfNotRunning"), Type::boolean, defaults::launchIfNotRunning, &TremlorSettings::launchIfNotRunningChanged },
        { QStringLiteral("launchAtLogin"), Type::boolean, defaults::launchAtLogin, &TremlorSettings::launchAtLoginChanged },
        { QStringLiteral("showInDock"), Type::boolean, defaults::showInDock, &TremlorSettings::showInDockChanged },
        { QStringLiteral("menuBarDisplayMode"), Type::enumeration, rawValue(defaults::menuBarDisplayMode), &TremlorSettings::menuBarDisplayModeChanged },
        { QStringLiteral("playSoundOnToggle"), Type::boolean, defaults::playSoundOnToggle, &TremlorSettings::playSoundOnToggleChanged },
        { QStringLiteral("caffeineEnabled"), Type::boolean, defaults::caffeineEnabled, &TremlorSettings::caffeineEnabledChanged },
        { QStringLiteral("simulateKeyboard"), Type::boolean, defaults::simulateKeyboard, &TremlorSettings::simulateKeyboardChanged },
        { QStringLiteral("simulateClicks"), Type::boolean, defaults::simulateClicks, &TremlorSettings::simulateClicksChanged },
        { QStringLiteral("smartIdleEnabled"), Type::boolean, defaults::smartIdleEnabled, &TremlorSettings::smartIdleEnabledChanged },
        { QStringLiteral("idleThreshold"), Type::number, defaults::idleThreshold, &TremlorSettings::idleThresholdChanged },
        { QStringLiteral("showCountdownInMenuBar"), Type::boolean, defaults::showCountdownInMenuBar, &TremlorSettings::showCountdownInMenuBarChanged },
        { QStringLiteral("notifyOnExpiry"), Type::boolean, defaults::notifyOnExpiry, &TremlorSettings::notifyOnExpiryChanged },
        { QStringLiteral("defaultDurationId"), Type::string, QString::fromLatin1(defaults::defaultDurationId), &TremlorSettings::defaultDurationIdChanged },
        { QStringLiteral("hasCompletedOnboarding"), Type::boolean, defaults::hasCompletedOnboarding, &TremlorSettings::hasCompletedOnboardingChanged },
        { QStringLiteral("activeProfileId"), Type::string, QStringLiteral(""), &TremlorSettings::activeProfileIdChanged },
        { QStringLiteral("popoverExpanded"), Type::boolean, defaults::popoverExpanded, &TremlorSettings::popoverExpandedChanged },
        { QStringLiteral("lastUsedDurationId"), Type::string, QStringLiteral(""), &TremlorSettings::lastUsedDurationIdChanged },
    } };
    // clang-format on
    return settings;
}

TremlorSettings::TremlorSettings(UserDefaults& defaults, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
{
    loadSelectedApps();
    loadProfiles();
    loadScheduleEntries();
}

TremlorSettings& TremlorSettings::shared()
{
    // Never destroyed: it lives for the whole run.
    static TremlorSettings* const instance = [] {
        auto* settings = new TremlorSettings(UserDefaults::standard());
        if (QCoreApplication* app = QCoreApplication::instance())
            settings->moveToThread(app->thread());
        return settings;
    }();
    return *instance;
}

double TremlorSettings::readDouble(Key key) const
{
    const Setting& s = setting(key);
    return m_defaults.doubleValue(s.key).value_or(std::get<double>(s.defaultValue));
}

std::int64_t TremlorSettings::readInteger(Key key) const
{
    const Setting& s = setting(key);
    return m_defaults.integerValue(s.key).value_or(std::get<std::int64_t>(s.defaultValue));
}

bool TremlorSettings::readBool(Key key) const
{
    const Setting& s = setting(key);
    return m_defaults.boolValue(s.key).value_or(std::get<bool>(s.defaultValue));
}

QString TremlorSettings::readString(Key key) const
{
    const Setting& s = setting(key);
    if (auto value = m_defaults.stringValue(s.key))
        return std::move(*value);
    return std::get<QString>(s.defaultValue);
}

UserDefaults::Value TremlorSettings::effectiveValue(Key key) const
{
    switch (setting(key).type) {
    case Type::number:
        return readDouble(key);
    case Type::integer:
        return readInteger(key);
    case Type::boolean:
        return readBool(key);
    case Type::string:
        return readString(key);
    case Type::enumeration:
        break;
    }
    if (key == Key::movementPattern)
        return rawValue(movementPattern());
    if (key == Key::rotationMode)
        return rawValue(rotationMode());
    return rawValue(menuBarDisplayMode());
}

void TremlorSettings::write(Key key, const UserDefaults::Value& value)
{
    const Setting& s = setting(key);
    const bool changed = !(effectiveValue(key) == value);
    willChange();
    m_defaults.set(s.key, value);
    if (changed)
        announce(s.changed);
}

void TremlorSettings::willChange()
{
    if (m_heldDepth == 0)
        Q_EMIT objectWillChange();
}

void TremlorSettings::announce(ChangeSignal signal)
{
    if (m_heldDepth == 0)
        Q_EMIT(this->*signal)();
    else if (!m_heldSignals.contains(signal))
        m_heldSignals.append(signal);
}

void TremlorSettings::changeAtOnce(const std::function<void()>& changes)
{
    if (m_heldDepth == 0)
        Q_EMIT objectWillChange();
    ++m_heldDepth;
    struct Release {
        TremlorSettings& self;
        ~Release() { --self.m_heldDepth; }
    };
    {
        const Release release { *this };
        changes();
    }
    if (m_heldDepth > 0)
        return;
    // Observers may write again from here on: they see the whole record and announce as usual.
    const QList<ChangeSignal> held = std::exchange(m_heldSignals, {});
    for (const ChangeSignal signal : held)
        Q_EMIT(this->*signal)();
}

void TremlorSettings::writeDefault(Key key)
{
    write(key, setting(key).defaultValue);
}

void TremlorSettings::setSelectedAppBundleIDs(const QStringList& ids)
{
    const bool changed = ids != m_selectedAppBundleIDs;
    willChange();
    m_selectedAppBundleIDs = ids;
    saveSelectedApps();
    if (changed)
        announce(&TremlorSettings::selectedAppBundleIDsChanged);
}

void TremlorSettings::setProfiles(const QList<Profile>& profiles)
{
    const bool changed = profiles != m_profiles;
    willChange();
    m_profiles = profiles;
    saveProfiles();
    if (changed)
        announce(&TremlorSettings::profilesChanged);
}

void TremlorSettings::setScheduleEntries(const QList<ScheduleEntry>& entries)
{
    const bool changed = entries != m_scheduleEntries;
    willChange();
    m_scheduleEntries = entries;
    saveScheduleEntries();
    if (changed)
        announce(&TremlorSettings::scheduleEntriesChanged);
}

void TremlorSettings::loadSelectedApps()
{
    if (auto list
        = loadList<QStringList>(m_defaults, QStringLiteral("selectedAppBundleIDs"), m_undecodable, &decodeStringList))
        setSelectedAppBundleIDs(*list);
}

void TremlorSettings::loadProfiles()
{
    if (auto list
        = loadList<QList<Profile>>(m_defaults, QStringLiteral("profiles"), m_undecodable, &Profile::decodeList))
        setProfiles(*list);
}

void TremlorSettings::loadScheduleEntries()
{
    if (auto list = loadList<QList<ScheduleEntry>>(
            m_defaults, QStringLiteral("scheduleEntries"), m_undecodable, &ScheduleEntry::decodeList))
        setScheduleEntries(*list);
}

void TremlorSettings::saveList(const QString& key, const std::optional<QByteArray>& data)
{
    if (!data)
        return; // not encodable: the previous data stays
    // Stored data that could not be decoded is the user's: keep a copy before replacing it.
    if (const auto it = m_undecodable.constFind(key); it != m_undecodable.constEnd()) {
        if (m_defaults.keepCopy(key + QStringLiteral(".unreadable"), *it).isEmpty())
            return;
        m_undecodable.erase(it);
    }
    m_defaults.set(key, *data);
}

void TremlorSettings::saveSelectedApps()
{
    saveList(QStringLiteral("selectedAppBundleIDs"),
        json::encode([this] { return json::stringList(m_selectedAppBundleIDs); }));
}

void TremlorSettings::saveProfiles()
{
    saveList(QStringLiteral("profiles"), Profile::encodeList(m_profiles));
}

void TremlorSettings::saveScheduleEntries()
{
    saveList(QStringLiteral("scheduleEntries"), ScheduleEntry::encodeList(m_scheduleEntries));
}

void TremlorSettings::applyProfile(const Profile& profile)
{
    setSelectedAppBundleIDs(profile.selectedAppBundleIDs);
    setMaxInterval(profile.maxInterval);
    setJiggleDistance(profile.jiggleDistance);
    setMovementPattern(profile.movementPattern);
    setRotationMode(profile.rotationMode);
    setCaffeineEnabled(profile.caffeineEnabled);
    setAppSwitchInterval(profile.appSwitchInterval);
    setLaunchIfNotRunning(profile.launchIfNotRunning);
    setActiveProfileId(json::uuidText(profile.id));
}

Profile TremlorSettings::captureAsProfile(const QString& name) const
{
    Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = name;
    profile.selectedAppBundleIDs = m_selectedAppBundleIDs;
    profile.maxInterval = maxInterval();
    profile.jiggleDistance = jiggleDistance();
    profile.movementPattern = movementPattern();
    profile.rotationMode = rotationMode();
    profile.caffeineEnabled = caffeineEnabled();
    profile.appSwitchInterval = appSwitchInterval();
    profile.launchIfNotRunning = launchIfNotRunning();
    profile.duration = Duration::resolve(defaultDurationId());
    return profile;
}

void TremlorSettings::resetToDefaults()
{
    for (const Key key : { Key::maxInterval, Key::jiggleDistance, Key::movementPattern, Key::rotationMode,
             Key::appSwitchInterval, Key::launchIfNotRunning, Key::launchAtLogin, Key::showInDock,
             Key::menuBarDisplayMode, Key::playSoundOnToggle, Key::simulateKeyboard, Key::simulateClicks,
             Key::caffeineEnabled, Key::smartIdleEnabled, Key::idleThreshold, Key::showCountdownInMenuBar,
             Key::notifyOnExpiry, Key::defaultDurationId })
        writeDefault(key);
    setSelectedAppBundleIDs({});
    for (const Key key : { Key::activeProfileId, Key::popoverExpanded, Key::lastUsedDurationId })
        writeDefault(key);
}

} // namespace tremlor
