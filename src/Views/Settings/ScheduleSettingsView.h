#pragma once

#include "Models/ScheduleEntry.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

namespace tremlor {

struct SettingsContext;
class BarButton;
class ScheduleEntryRow;
class SectionList;
class TremlorSettings;

// The Schedule section: the weekly entries as disclosure rows, plus and minus in the bar, and
// the empty state. Each edit changes the stored entry with the row's id (never a position
// remembered from before an outside change) and saves the whole list at once.
class ScheduleSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit ScheduleSettingsView(SettingsContext& context, QWidget* parent = nullptr);

    // Enabled, Monday to Friday, 9:00 to 17:00, no profile, a fresh id.
    static ScheduleEntry newEntry();

    SectionList* list() const { return m_list; }
    ScheduleEntryRow* row(const QUuid& id) const;
    std::optional<QUuid> selectedEntryId() const;

    void addEntry();
    void removeSelected();
    // Also the Delete key: a selected entry leaves no row selected, and the keyboard stays in the
    // list, on the row now in its place.
    void deleteEntry(const QUuid& id);
    // Changes the first stored entry with this id (the one its row shows); nothing when it is gone.
    void editEntry(const QUuid& id, const std::function<void(ScheduleEntry&)>& change);

private:
    void refresh();

    TremlorSettings& m_settings;
    const Clock& m_clock;
    SectionList* m_list;
    BarButton* m_minus;
    QHash<QUuid, qsizetype> m_indexById;
};

} // namespace tremlor
