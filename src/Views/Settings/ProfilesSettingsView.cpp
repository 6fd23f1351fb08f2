#include "Views/Settings/ProfilesSettingsView.h"

#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Views/Settings/BarButton.h"
#include "Views/Settings/ProfileRow.h"
#include "Views/Settings/SectionList.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/Hairline.h"
#include "Views/Shared/SettingBinding.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QSet>
#include <QVBoxLayout>

#include <cmath>

namespace tremlor {

namespace {

// The whole seconds of an interval, toward zero; beyond the exact integers of a double (and for
// the non-finite values only an outside file could bring) a short form instead of a cast.
QString wholeSeconds(double seconds)
{
    if (std::isnan(seconds))
        return QStringLiteral("–");
    if (std::isinf(seconds))
        return seconds > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    const double whole = std::trunc(seconds);
    if (std::fabs(whole) < 1e15)
        return QString::number(static_cast<qint64>(whole));
    return QString::number(whole, 'g', 3);
}

QString patternName(MovementPattern pattern)
{
    switch (pattern) {
    case MovementPattern::bounce:
        return QStringLiteral("Bounce");
    case MovementPattern::drift:
        return QStringLiteral("Drift");
    case MovementPattern::circle:
        return QStringLiteral("Circle");
    case MovementPattern::natural:
        return QStringLiteral("Natural");
    }
    return {};
}

} // namespace

ProfilesSettingsView::ProfilesSettingsView(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
    , m_settings(context.settings)
{
    setObjectName(QStringLiteral("profiles-settings"));
    setAccessibleName(tr("Profiles"));

    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("profiles-bar"));
    auto* save = new BarButton(BarButton::Style::prominent, tr("Save Current Settings as Profile"),
        QStringLiteral("plus.square.on.square"), QStringLiteral("profiles-save-current"), bar);
    auto* plus = new BarButton(
        BarButton::Style::borderless, QString(), QStringLiteral("plus"), QStringLiteral("profiles-add"), bar);
    plus->setAccessibleName(tr("Add Profile"));
    plus->setToolTip(tr("Add Profile"));
    m_minus = new BarButton(
        BarButton::Style::borderless, QString(), QStringLiteral("minus"), QStringLiteral("profiles-remove"), bar);
    m_minus->setAccessibleName(tr("Remove Profile"));
    m_minus->setToolTip(tr("Remove Profile"));
    auto* barLayout = new QHBoxLayout(bar);
    // The platform's standard padding and spacing.
    const int pad = int(kestu::Space::space16);
    barLayout->setContentsMargins(pad, pad, pad, pad);
    barLayout->setSpacing(int(kestu::Space::space8));
    barLayout->addWidget(save);
    barLayout->addStretch(1);
    barLayout->addWidget(plus);
    barLayout->addWidget(m_minus);

    auto* empty = new kestu::KestuEmptyState(QStringLiteral("person.2"), tr("No Profiles"),
        tr("Save your current settings as a profile to get started."),
        kestu::KestuEmptyState::Look { 32, 1.0, 1.0, true });
    empty->setObjectName(QStringLiteral("profiles-empty"));
    m_list = new SectionList(empty, this);
    m_list->setObjectName(QStringLiteral("profiles-list"));
    m_list->setAccessibleName(tr("Profiles"));
    m_list->setBarButtons(m_minus, plus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(new Hairline(this));
    layout->addWidget(bar);

    connect(save, &QAbstractButton::clicked, this, &ProfilesSettingsView::saveCurrentSettings);
    connect(plus, &QAbstractButton::clicked, this, &ProfilesSettingsView::addProfile);
    connect(m_minus, &QAbstractButton::clicked, this, &ProfilesSettingsView::removeSelected);
    connect(m_list, &SectionList::selectionChanged, this,
        [this] { m_minus->setEnabled(m_list->selectedId().has_value()); });
    connect(m_list, &SectionList::deleteRequested, this, &ProfilesSettingsView::deleteProfile);
    m_minus->setEnabled(false);
    watch(
        this, &m_settings, [this] { refresh(); }, &TremlorSettings::profilesChanged,
        &TremlorSettings::activeProfileIdChanged);
}

QString ProfilesSettingsView::profileSummary(const Profile& profile)
{
    QStringList parts { wholeSeconds(profile.maxInterval) + u's', patternName(profile.movementPattern) };
    if (const qsizetype apps = profile.selectedAppBundleIDs.size(); apps > 0)
        parts.append(QString::number(apps) + (apps == 1 ? QStringLiteral(" app") : QStringLiteral(" apps")));
    return parts.join(QStringLiteral(" \u00B7 "));
}

ProfileRow* ProfilesSettingsView::row(const QUuid& id) const
{
    return static_cast<ProfileRow*>(m_list->row(id));
}

std::optional<QUuid> ProfilesSettingsView::selectedProfileId() const
{
    return m_list->selectedId();
}

void ProfilesSettingsView::refresh()
{
    // One row per id: every action finds the first profile with its id, so a later profile with
    // the same id (a hand-edited store) gets no row that would edit the first one. It stays
    // stored as it is.
    QList<QUuid> ids;
    QSet<QUuid> seen;
    for (const Profile& profile : m_settings.profiles()) {
        if (!seen.contains(profile.id)) {
            seen.insert(profile.id);
            ids.append(profile.id);
        }
    }
    m_list->setRows(ids, [this](const QUuid& id) {
        auto* r = new ProfileRow(id, m_settings);
        connect(r, &ProfileRow::renamed, this, &ProfilesSettingsView::rename);
        connect(r, &ProfileRow::menuRequested, this, [this](const QUuid& rowId, const QPoint& at) {
            QMenu* menu = makeMenu(rowId);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(at);
        });
        return r;
    });
    // Rows kept from before show the new values in place (a rename under way is not disturbed).
    for (SectionListRow* r : m_list->rows())
        static_cast<ProfileRow*>(r)->refresh();
}

QMenu* ProfilesSettingsView::makeMenu(const QUuid& id)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("profile-menu"));
    menu->addAction(tr("Duplicate"), this, [this, id] { duplicateProfile(id); })
        ->setObjectName(QStringLiteral("profile-duplicate"));
    menu->addAction(tr("Set as Default"), this, [this, id] { setAsDefault(id); })
        ->setObjectName(QStringLiteral("profile-set-default"));
    menu->addSeparator();
    menu->addAction(tr("Delete"), this, [this, id] { deleteProfile(id); })
        ->setObjectName(QStringLiteral("profile-delete"));
    return menu;
}

void ProfilesSettingsView::rename(const QUuid& id, const QString& name)
{
    QList<Profile> profiles = m_settings.profiles();
    for (Profile& profile : profiles) {
        if (profile.id == id) {
            if (profile.name == name)
                return;
            profile.name = name;
            m_settings.setProfiles(profiles);
            return;
        }
    }
}

void ProfilesSettingsView::duplicateProfile(const QUuid& id)
{
    QList<Profile> profiles = m_settings.profiles();
    for (const Profile& profile : profiles) {
        if (profile.id == id) {
            profiles.append(profile.duplicate());
            m_settings.setProfiles(profiles);
            return;
        }
    }
}

void ProfilesSettingsView::setAsDefault(const QUuid& id)
{
    for (const Profile& profile : m_settings.profiles()) {
        if (profile.id == id) {
            // A copy: applying replaces the store's values the reference would point into.
            const Profile chosen = profile;
            m_settings.applyProfile(chosen);
            return;
        }
    }
}

void ProfilesSettingsView::deleteProfile(const QUuid& id)
{
    m_list->removeRecord(id, [this, id] {
        QList<Profile> profiles = m_settings.profiles();
        profiles.removeIf([&id](const Profile& profile) { return profile.id == id; });
        m_settings.setProfiles(profiles);
    });
}

void ProfilesSettingsView::saveCurrentSettings()
{
    QList<Profile> profiles = m_settings.profiles();
    profiles.append(m_settings.captureAsProfile(tr("New Profile")));
    m_settings.setProfiles(profiles);
}

void ProfilesSettingsView::addProfile()
{
    Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = tr("Untitled");
    QList<Profile> profiles = m_settings.profiles();
    profiles.append(profile);
    m_settings.setProfiles(profiles);
}

void ProfilesSettingsView::removeSelected()
{
    // A copy: the removal clears the selection.
    if (const std::optional<QUuid> selected = m_list->selectedId())
        deleteProfile(*selected);
}

} // namespace tremlor
