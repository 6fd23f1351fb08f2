#pragma once

#include "Engine/ProfileManaging.h"

namespace tremlor {

class TremlorSettings;

// Profiles over the settings store: applying and capturing go through the store's own
// operations, so the store stays the one place that writes settings.
class ProfileManager final : public ProfileManaging {
public:
    explicit ProfileManager(TremlorSettings& settings);

    QList<Profile> profiles() const override;
    std::optional<Profile> profile(const QUuid& id) const override;
    Profile saveCurrentSettings(const QString& name) override;
    bool applyProfile(const QUuid& id) override;
    bool deleteProfile(const QUuid& id) override;

private:
    TremlorSettings& m_settings;
};

} // namespace tremlor
