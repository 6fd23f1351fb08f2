#pragma once

#include "Models/Profile.h"

#include <QUuid>
#include <QWidget>

#include <optional>

class QMenu;

namespace tremlor {

struct SettingsContext;
class BarButton;
class ProfileRow;
class SectionList;
class TremlorSettings;

// The Profiles section: the saved profiles with the active one checked, each renamed in place
// and summarised; duplicate, apply and delete from a row's menu; the bar saves the current
// settings as a profile, adds an empty one, or removes the selected one. Every action finds
// its profile by id in the store at the moment it runs.
class ProfilesSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit ProfilesSettingsView(SettingsContext& context, QWidget* parent = nullptr);

    // "30s · Bounce · 2 apps": whole seconds, the pattern's name, and the application count
    // when there are applications. An interval beyond any integer still reads sensibly.
    static QString profileSummary(const Profile& profile);

    SectionList* list() const { return m_list; }
    ProfileRow* row(const QUuid& id) const;
    std::optional<QUuid> selectedProfileId() const;
    // The row's menu (Duplicate, Set as Default, Delete), made for the profile with that id.
    QMenu* makeMenu(const QUuid& id);

    void duplicateProfile(const QUuid& id);
    void setAsDefault(const QUuid& id);
    // The menu's Delete and the Delete key: a selected profile leaves no row selected, and the
    // keyboard stays in the list, on the row now in its place.
    void deleteProfile(const QUuid& id);
    void saveCurrentSettings();
    void addProfile();
    void removeSelected();

private:
    void refresh();
    void rename(const QUuid& id, const QString& name);

    TremlorSettings& m_settings;
    SectionList* m_list;
    BarButton* m_minus;
};

} // namespace tremlor
