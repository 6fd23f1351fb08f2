#include "Views/Settings/ScheduleSettingsView.h"

#include "KestuDesign/Components/KestuToggleStyle.h"
#include "Views/Settings/ScheduleEntryRow.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/TokenLabel.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QTimeEdit>

using namespace tremlor;
using settingstest::named;

namespace {

ScheduleEntryRow* openRow(ScheduleSettingsView& view, const QUuid& id)
{
    ScheduleEntryRow* row = view.row(id);
    row->disclosure()->click();
    return row;
}

using ScheduleSettings = settingstest::FixtureTest;

} // namespace

// Plus appends a new entry (on, weekdays, 9:00 to 17:00, no profile) at the end of the store
// and of the list, and the selection stays; minus removes the selected entry and clears it.
TEST_F(ScheduleSettings, PlusAppendsANewEntryAndMinusRemovesTheSelectedOne)
{
    using enum Weekday;
    ScheduleSettingsView view(f.context);
    auto* minus = view.findChild<QAbstractButton*>("schedule-remove");
    EXPECT_FALSE(minus->isEnabled());
    view.findChild<QAbstractButton*>("schedule-add")->click();
    view.list()->setSelectedId(s.scheduleEntries()[0].id);
    view.findChild<QAbstractButton*>("schedule-add")->click();
    ASSERT_EQ(view.list()->rows().size(), 2);
    const ScheduleEntry added = s.scheduleEntries()[1];
    EXPECT_EQ(added,
        (ScheduleEntry { added.id, true, { monday, tuesday, wednesday, thursday, friday }, DateComponents::time(9, 0),
            DateComponents::time(17, 0), std::nullopt }));
    EXPECT_EQ(view.selectedEntryId(), s.scheduleEntries()[0].id);
    EXPECT_EQ(view.list()->rows().last(), view.row(added.id));
    minus->click();
    EXPECT_EQ(s.scheduleEntries(), QList<ScheduleEntry> { added });
    EXPECT_FALSE(minus->isEnabled());
}

// Edits go to the entry with the row's id: after the first entry is deleted (by the Delete key,
// which keeps the selection; minus then removes nothing and clears it), the second row still
// edits the second entry.
TEST_F(ScheduleSettings, DayAndTimeEditsGoToTheRowsEntry)
{
    const ScheduleEntry first = ScheduleSettingsView::newEntry();
    const ScheduleEntry second = ScheduleSettingsView::newEntry();
    s.setScheduleEntries({ first, second });
    ScheduleSettingsView view(f.context);
    ScheduleEntryRow* row = openRow(view, second.id);
    view.list()->setSelectedId(first.id);
    kittest::showActive(view);
    QTest::keyClick(view.list(), Qt::Key_Delete);
    ASSERT_EQ(s.scheduleEntries().size(), 1);
    EXPECT_EQ(view.row(second.id), row);
    EXPECT_EQ(view.selectedEntryId(), first.id);
    view.findChild<QAbstractButton*>("schedule-remove")->click();
    EXPECT_EQ(view.selectedEntryId(), std::nullopt);

    row->dayToggle(Weekday::saturday)->click();
    row->dayToggle(Weekday::sunday)->click();
    EXPECT_EQ(s.scheduleEntries()[0].days.size(), 7u);
    EXPECT_EQ(row->daysLabel()->text(), QStringLiteral("Every day"));
    for (const Weekday day :
        { Weekday::monday, Weekday::tuesday, Weekday::wednesday, Weekday::thursday, Weekday::friday })
        row->dayToggle(day)->click();
    EXPECT_EQ(row->daysLabel()->text(), QStringLiteral("Weekends"));
    row->dayToggle(Weekday::saturday)->click();
    row->dayToggle(Weekday::sunday)->click();
    EXPECT_TRUE(s.scheduleEntries()[0].days.empty());
    EXPECT_EQ(row->daysLabel()->text(), QString());

    // Only hour and minute are kept; an end before the start is kept as picked and shown.
    row->startPicker()->setTime(QTime(22, 45, 31));
    row->endPicker()->setTime(QTime(6, 5));
    EXPECT_EQ(s.scheduleEntries()[0].startTime, DateComponents::time(22, 45));
    EXPECT_EQ(s.scheduleEntries()[0].endTime, DateComponents::time(6, 5));
    EXPECT_EQ(row->timeLabel()->text(), s.scheduleEntries()[0].timeRangeDescription(f.clock));
    row->enabledSwitch()->click();
    EXPECT_FALSE(s.scheduleEntries()[0].isEnabled);
    EXPECT_EQ(s.scheduleEntries()[0].id, second.id);
}

// The picker offers "None" and the profiles; a pick shows the chip, "None" clears both, a
// rename elsewhere shows at once and a removal hides the chip. A time that names no moment is
// shown, never written back.
TEST_F(ScheduleSettings, ProfilePickerWithNone)
{
    const QList<Profile> profiles { named("Work"), named("Home") };
    s.setProfiles(profiles);
    ScheduleEntry entry = ScheduleSettingsView::newEntry();
    entry.startTime = DateComponents::time(25, 0);
    s.setScheduleEntries({ entry });
    f.clock.setNow(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    ScheduleSettingsView view(f.context);
    ScheduleEntryRow* row = openRow(view, entry.id);
    FormPicker* picker = row->profilePicker();
    ASSERT_EQ(picker->count(), 3);
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(row->startPicker()->time(), QTime(9, 30));

    Q_EMIT picker->activated(2);
    EXPECT_EQ(s.scheduleEntries()[0].profileId, profiles[1].id);
    EXPECT_EQ(row->chip()->text(), QStringLiteral("Home"));
    QList<Profile> renamed = s.profiles();
    renamed[1].name = QStringLiteral("House");
    s.setProfiles(renamed);
    EXPECT_EQ(row->chip()->text(), QStringLiteral("House"));
    EXPECT_EQ(picker->itemText(2), QStringLiteral("House"));
    s.setProfiles({ renamed[0] }); // the chosen profile is removed: its id stays, with no chip
    EXPECT_TRUE(row->chip()->isHidden());

    Q_EMIT picker->activated(0);
    EXPECT_EQ(s.scheduleEntries()[0].profileId, std::nullopt);
    EXPECT_TRUE(row->chip()->isHidden());
    EXPECT_EQ(s.scheduleEntries()[0].startTime, DateComponents::time(25, 0));
}

// A long list shows its first rows at once and makes the rest over later turns of the event
// loop; a late row edits its own entry, also after the list changed while it was being made.
TEST_F(ScheduleSettings, LongListsAreMadeInPartsAndStayKeyed)
{
    QList<ScheduleEntry> entries;
    for (int i = 0; i < 150; ++i)
        entries.append(ScheduleSettingsView::newEntry());
    s.setScheduleEntries(entries);
    ScheduleSettingsView view(f.context);
    EXPECT_EQ(view.list()->rows().size(), SectionList::firstRows);
    entries.removeFirst();
    s.setScheduleEntries(entries);
    for (int turn = 0; turn < 10 && !view.list()->isComplete(); ++turn)
        QCoreApplication::processEvents();
    ASSERT_TRUE(view.list()->isComplete());
    ASSERT_EQ(view.list()->rows().size(), 149);
    EXPECT_EQ(view.list()->rows().last()->id(), entries.last().id);

    openRow(view, entries.last().id)->dayToggle(Weekday::sunday)->click();
    EXPECT_TRUE(s.scheduleEntries().last().days.contains(Weekday::sunday));
    EXPECT_FALSE(s.scheduleEntries()[147].days.contains(Weekday::sunday));
}

// A store edited by hand may repeat an id: the first entry with it has the one row, which shows
// and edits that entry only; the later one keeps its place in the store and gets no row, also
// when the list changes (no row left behind without its entry).
TEST_F(ScheduleSettings, RepeatedIdHasOneRowForTheFirstEntry)
{
    const ScheduleEntry first = ScheduleSettingsView::newEntry();
    ScheduleEntry twin = ScheduleSettingsView::newEntry();
    twin.id = first.id;
    twin.isEnabled = false;
    s.setScheduleEntries({ first, twin });
    ScheduleSettingsView view(f.context);
    view.findChild<QAbstractButton*>("schedule-add")->click();
    EXPECT_EQ(view.findChildren<ScheduleEntryRow*>().size(), 2);

    view.row(first.id)->enabledSwitch()->click();
    ASSERT_EQ(s.scheduleEntries().size(), 3);
    EXPECT_FALSE(s.scheduleEntries()[0].isEnabled);
    EXPECT_EQ(s.scheduleEntries()[1], twin);
    // Likewise the picker lists a repeated profile id once, by the first profile's name.
    const Profile work = named("Work");
    Profile again = named("Again");
    again.id = work.id;
    s.setProfiles({ work, again });
    FormPicker* picker = openRow(view, first.id)->profilePicker();
    ASSERT_EQ(picker->count(), 2);
    EXPECT_EQ(picker->itemText(1), QStringLiteral("Work"));
}
