#include "Engine/ProfileManager.h"

#include "Models/TremlorSettings.h"

#include <algorithm>

namespace tremlor {

ProfileManager::ProfileManager(TremlorSettings& settings)
    : m_settings(settings)
{
}

QList<Profile> ProfileManager::profiles() const
{
    return m_settings.profiles();
}

std::optional<Profile> ProfileManager::profile(const QUuid& id) const
{
    const QList<Profile> all = m_settings.profiles();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Profile& p) { return p.id == id; });
    if (found == all.end())
        return std::nullopt;
    return *found;
}

Profile ProfileManager::saveCurrentSettings(const QString& name)
{
    const Profile captured = m_settings.captureAsProfile(name);
    QList<Profile> all = m_settings.profiles();
    all.append(captured);
    m_settings.setProfiles(all);
    return captured;
}

bool ProfileManager::applyProfile(const QUuid& id)
{
    const std::optional<Profile> found = profile(id);
    if (!found)
        return false;
    m_settings.applyProfile(*found);
    return true;
}

bool ProfileManager::deleteProfile(const QUuid& id)
{
    QList<Profile> all = m_settings.profiles();
    const auto removed = all.removeIf([&](const Profile& p) { return p.id == id; });
    if (removed == 0)
        return false;
    m_settings.setProfiles(all);
    return true;
}

} // namespace tremlor
