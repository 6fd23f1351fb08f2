#pragma once

#include "Models/Profile.h"
#include "Models/ScheduleEntry.h"
#include "Views/Settings/SectionList.h"
#include "Views/Shared/ExpandButton.h"

#include <QList>

#include <array>
#include <functional>

class QAbstractButton;
class QTimeEdit;

namespace kestu {
class KestuToggleSwitch;
}

namespace tremlor {

class FormPicker;

// A row of the Schedule section: a disclosure group whose header shows the entry's switch,
// days, time range and the chip of its profile, and whose editor (made the first time it is
// opened) holds the day toggles, the two times and the profile picker. Every edit is handed to
// `edit` with the entry's id; the section applies it to the stored entry with that id.
class ScheduleEntryRow final : public SectionListRow {
    Q_OBJECT

public:
    using Edit = std::function<void(const QUuid& id, const std::function<void(ScheduleEntry&)>& change)>;

    ScheduleEntryRow(const ScheduleEntry& entry, const QList<Profile>& profiles, const Clock& clock, Edit edit,
        QWidget* parent = nullptr);

    // Shows the stored entry and the store's profiles.
    void refresh(const ScheduleEntry& entry, const QList<Profile>& profiles);
    void setExpanded(bool expanded);
    bool isExpanded() const { return m_disclosure->isExpanded(); }

    // The entry's on/off switch, at the small control size.
    QAbstractButton* enabledSwitch() const;
    SectionListText* daysLabel() const { return m_days; }
    SectionListText* timeLabel() const { return m_time; }
    SectionListText* chip() const { return m_chip; }
    QAbstractButton* disclosure() const { return m_disclosure; }
    // Present once the row has been opened.
    QAbstractButton* dayToggle(Weekday day) const;
    QTimeEdit* startPicker() const { return m_start; }
    QTimeEdit* endPicker() const { return m_end; }
    FormPicker* profilePicker() const { return m_profile; }

private:
    // "Show details of Weekdays, 9:00 AM – 5:00 PM", or "Hide …" while open.
    void nameDisclosure();
    void buildEditor();
    void showEditor();

    ScheduleEntry m_entry;
    QList<Profile> m_profiles;
    const Clock& m_clock;
    Edit m_edit;
    bool m_shown = false;

    ExpandButton* m_disclosure;
    kestu::KestuToggleSwitch* m_switch;
    SectionListText* m_days;
    SectionListText* m_time;
    SectionListText* m_chip;
    QWidget* m_editor = nullptr;
    std::array<QAbstractButton*, 7> m_dayToggles {};
    QTimeEdit* m_start = nullptr;
    QTimeEdit* m_end = nullptr;
    FormPicker* m_profile = nullptr;
    QList<std::pair<QUuid, QString>> m_pickerItems;
};

} // namespace tremlor
