#pragma once

#include "Models/Profile.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace tremlor {

// The saved profiles of the settings store, as one service. Main thread only.
class ProfileManaging {
public:
    ProfileManaging() = default;
    virtual ~ProfileManaging() = default;
    ProfileManaging(const ProfileManaging&) = delete;
    ProfileManaging& operator=(const ProfileManaging&) = delete;

    // Every saved profile, in stored order.
    virtual QList<Profile> profiles() const = 0;
    // The saved profile with this id; nothing when there is none.
    virtual std::optional<Profile> profile(const QUuid& id) const = 0;
    // Captures the current settings under a name and appends it to the saved profiles.
    virtual Profile saveCurrentSettings(const QString& name) = 0;
    // Applies the saved profile with this id to the live settings; false when there is none.
    virtual bool applyProfile(const QUuid& id) = 0;
    // Removes the saved profile with this id; false when there is none.
    virtual bool deleteProfile(const QUuid& id) = 0;
};

} // namespace tremlor
