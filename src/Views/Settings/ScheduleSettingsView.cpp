#include "Views/Settings/ScheduleSettingsView.h"

#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Views/Settings/BarButton.h"
#include "Views/Settings/ScheduleEntryRow.h"
#include "Views/Settings/SectionList.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/Hairline.h"
#include "Views/Shared/SettingBinding.h"

#include <QHBoxLayout>
#include <QSet>
#include <QVBoxLayout>

namespace tremlor {

ScheduleSettingsView::ScheduleSettingsView(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
    , m_settings(context.settings)
    , m_clock(context.clock)
{
    setObjectName(QStringLiteral("schedule-settings"));
    setAccessibleName(tr("Schedule"));

    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("schedule-bar"));
    auto* plus = new BarButton(
        BarButton::Style::borderless, QString(), QStringLiteral("plus"), QStringLiteral("schedule-add"), bar);
    plus->setAccessibleName(tr("Add Entry"));
    plus->setToolTip(tr("Add Entry"));
    m_minus = new BarButton(
        BarButton::Style::borderless, QString(), QStringLiteral("minus"), QStringLiteral("schedule-remove"), bar);
    m_minus->setAccessibleName(tr("Remove Entry"));
    m_minus->setToolTip(tr("Remove Entry"));
    auto* barLayout = new QHBoxLayout(bar);
    const int pad = int(kestu::Space::space8);
    barLayout->setContentsMargins(pad, pad, pad, pad);
    barLayout->setSpacing(int(kestu::Space::space4));
    barLayout->addWidget(plus);
    barLayout->addWidget(m_minus);
    barLayout->addStretch(1);

    auto* empty = new kestu::KestuEmptyState(QStringLiteral("calendar.badge.plus"), tr("No Schedule Entries"),
        tr("Add entries to automate when jiggling is active."), kestu::KestuEmptyState::Look { 32, 1.0, 1.0, true });
    empty->setObjectName(QStringLiteral("schedule-empty"));
    m_list = new SectionList(empty, this);
    m_list->setObjectName(QStringLiteral("schedule-list"));
    m_list->setAccessibleName(tr("Schedule Entries"));
    m_list->setBarButtons(m_minus, plus);
    // The entries, above the bar on screen, come before it in the Tab order too.
    m_list->setTabAfterRows({ plus, m_minus });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(new Hairline(this));
    layout->addWidget(bar);

    connect(plus, &QAbstractButton::clicked, this, &ScheduleSettingsView::addEntry);
    connect(m_minus, &QAbstractButton::clicked, this, &ScheduleSettingsView::removeSelected);
    connect(m_list, &SectionList::selectionChanged, this,
        [this] { m_minus->setEnabled(m_list->selectedId().has_value()); });
    connect(m_list, &SectionList::deleteRequested, this, &ScheduleSettingsView::deleteEntry);
    m_minus->setEnabled(false);

    // A renamed or removed profile shows in the chips and pickers at once.
    watch(
        this, &m_settings, [this] { refresh(); }, &TremlorSettings::scheduleEntriesChanged,
        &TremlorSettings::profilesChanged);
}

ScheduleEntry ScheduleSettingsView::newEntry()
{
    using enum Weekday;
    return ScheduleEntry { QUuid::createUuid(), true, { monday, tuesday, wednesday, thursday, friday },
        DateComponents::time(9, 0), DateComponents::time(17, 0), std::nullopt };
}

ScheduleEntryRow* ScheduleSettingsView::row(const QUuid& id) const
{
    return static_cast<ScheduleEntryRow*>(m_list->row(id));
}

std::optional<QUuid> ScheduleSettingsView::selectedEntryId() const
{
    return m_list->selectedId();
}

void ScheduleSettingsView::refresh()
{
    const QList<ScheduleEntry>& entries = m_settings.scheduleEntries();
    m_indexById.clear();
    m_indexById.reserve(entries.size());
    QList<QUuid> ids;
    ids.reserve(entries.size());
    // One row per id, showing and editing the first entry with it: a later entry with the same
    // id (a hand-edited store) gets no row of its own and stays stored as it is.
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!m_indexById.contains(entries[i].id)) {
            ids.append(entries[i].id);
            m_indexById.insert(entries[i].id, i);
        }
    }
    const QList<SectionListRow*> before = m_list->rows();
    const QSet<SectionListRow*> kept(before.cbegin(), before.cend());
    // Rows made later read the store as it is then (the index is rebuilt on every change).
    m_list->setRows(ids, [this](const QUuid& id) {
        return new ScheduleEntryRow(m_settings.scheduleEntries().at(m_indexById.value(id)), m_settings.profiles(),
            m_clock, [this](const QUuid& rowId, const std::function<void(ScheduleEntry&)>& change) {
                editEntry(rowId, change);
            });
    });
    for (SectionListRow* r : m_list->rows()) {
        if (kept.contains(r))
            static_cast<ScheduleEntryRow*>(r)->refresh(entries.at(m_indexById.value(r->id())), m_settings.profiles());
    }
}

void ScheduleSettingsView::addEntry()
{
    QList<ScheduleEntry> entries = m_settings.scheduleEntries();
    entries.append(newEntry());
    m_settings.setScheduleEntries(entries);
}

void ScheduleSettingsView::removeSelected()
{
    if (const std::optional<QUuid> selected = m_list->selectedId())
        deleteEntry(*selected);
}

void ScheduleSettingsView::deleteEntry(const QUuid& id)
{
    m_list->removeRecord(id, [this, id] {
        QList<ScheduleEntry> entries = m_settings.scheduleEntries();
        entries.removeIf([&id](const ScheduleEntry& e) { return e.id == id; });
        // Saved also when nothing matched, as the list's owner expects of every removal.
        m_settings.setScheduleEntries(entries);
    });
}

void ScheduleSettingsView::editEntry(const QUuid& id, const std::function<void(ScheduleEntry&)>& change)
{
    QList<ScheduleEntry> entries = m_settings.scheduleEntries();
    for (ScheduleEntry& entry : entries) {
        if (entry.id == id) {
            change(entry);
            m_settings.setScheduleEntries(entries);
            return;
        }
    }
}

} // namespace tremlor
