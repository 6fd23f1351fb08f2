#include "Views/Settings/ScheduleSettingsView.h"

#include "KestuDesign/Components/KestuToggleStyle.h"
#include "Views/Settings/ScheduleEntryRow.h"
#include "Views/Shared/FormPicker.h"
#include "views/KeyboardWalk.h"
#include "views/SettingsTestSupport.h"
#include "views/ToldToReaders.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolTip>

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

QList<ScheduleEntry> storeThreeEntries(TremlorSettings& settings)
{
    const QList<ScheduleEntry> entries { ScheduleSettingsView::newEntry(), ScheduleSettingsView::newEntry(),
        ScheduleSettingsView::newEntry() };
    settings.setScheduleEntries(entries);
    return entries;
}

} // namespace

// Plus appends a new entry (on, weekdays, 9:00 to 17:00, no profile) at the end of the store
// and of the list, and the selection stays; minus removes the selected entry and clears the
// selection, which disables it.
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
    EXPECT_EQ(view.selectedEntryId(), std::nullopt);
    EXPECT_FALSE(minus->isEnabled());
}

// Edits go to the entry with the row's id: after the first entry is deleted (by the Delete key,
// which clears the selection; minus on a selection that is gone removes nothing and clears it),
// the second row still edits the second entry.
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
    EXPECT_EQ(view.selectedEntryId(), std::nullopt);
    view.list()->setSelectedId(first.id);
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

// Keyboard alone: Tab reaches the list, Down selects, Tab goes through the rows' controls to "Add
// Entry" and "Remove Entry", which removes the selected entry on Return; an opened row's time
// field keeps its own arrows and tells assistive tools its value.
TEST_F(ScheduleSettings, KeyboardAloneRemovesTheSelectedEntry)
{
    using settingstest::press;
    const QList<ScheduleEntry> entries = storeThreeEntries(s);
    auto* view = new ScheduleSettingsView(f.context);
    kittest::KitWindow window(view, true);
    ASSERT_NO_FATAL_FAILURE(window.show());
    window.other->setFocus();
    press(Qt::Key_Tab);
    press(Qt::Key_Down, 2);
    EXPECT_EQ(settingstest::heardSelected(view->list()), QStringList { view->row(entries[1].id)->accessibleName() });
    EXPECT_EQ(viewtest::tabStops(view).join(' '),
        QStringLiteral("schedule-entry-disclosure schedule-entry-enabled ").repeated(3)
            + "schedule-add schedule-remove");
    press(Qt::Key_Backtab);
    press(Qt::Key_Return);
    EXPECT_EQ(s.scheduleEntries(), (QList<ScheduleEntry> { entries[0], entries[2] }));
    QTimeEdit* start = openRow(*view, entries[0].id)->startPicker();
    start->setFocus();
    press(Qt::Key_Home);
    press(Qt::Key_Up);
    EXPECT_EQ(s.scheduleEntries()[0].startTime, DateComponents::time(10, 0));
    EXPECT_EQ(view->selectedEntryId(), std::nullopt);
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(start)->valueInterface();
    EXPECT_EQ(QVariantList({ value->currentValue(), value->minimumValue(), value->maximumValue() }),
        QVariantList({ 10 * 60, 0, 24 * 60 - 1 }));
    value->setCurrentValue(10 * 60 + 45);
    EXPECT_EQ(s.scheduleEntries()[0].startTime, DateComponents::time(10, 45));
}

// Each checkable control of a row acts on the change of its checked state, whether it comes
// from the mouse, Space or an assistive tool's Toggle, and shows what is stored; the disclosure,
// a button named after its entry, opens and closes the row each way and tells whether it is
// expanded. The opened editor is padded by 4 above and below and follows its header in the Tab
// order; its controls wear a ring while they hold the keyboard.
TEST_F(ScheduleSettings, CheckableControlsStoreWhatTheyShowEachWay)
{
    const ScheduleEntry other = ScheduleSettingsView::newEntry();
    s.setScheduleEntries({ ScheduleSettingsView::newEntry(), other });
    kittest::KitWindow window(new ScheduleSettingsView(f.context));
    ASSERT_NO_FATAL_FAILURE(window.show());
    auto* row = window.window.findChild<ScheduleEntryRow*>();
    const auto use = [](QAbstractButton* button, int way) {
        button->setFocus();
        if (way == 0)
            QTest::mouseClick(button, Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(button, Qt::Key_Space);
        else
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(button->isCheckable()
                    ? QAccessibleActionInterface::toggleAction()
                    : QAccessibleActionInterface::pressAction());
    };
    QAccessibleInterface* disclosure = QAccessible::queryAccessibleInterface(row->disclosure());
    EXPECT_EQ(disclosure->role(), QAccessible::Button);
    EXPECT_EQ(disclosure->text(QAccessible::Name), "Show details of " + row->accessibleName());
    for (const int way : { 0, 1, 2 }) { // the mouse, Space, Toggle (Press for the disclosure)
        SCOPED_TRACE(way);
        viewtest::ToldLog told;
        use(row->disclosure(), way);
        ASSERT_TRUE(row->isExpanded() && disclosure->state().expandable && disclosure->state().expanded);
        EXPECT_EQ(disclosure->text(QAccessible::Name), "Hide details of " + row->accessibleName());
        for (const bool on : { false, true }) {
            use(row->dayToggle(Weekday::monday), way);
            EXPECT_EQ(s.scheduleEntries()[0].days.contains(Weekday::monday), on);
            EXPECT_EQ(row->dayToggle(Weekday::monday)->isChecked(), on);
            use(row->enabledSwitch(), way);
            EXPECT_EQ(s.scheduleEntries()[0].isEnabled, on);
            EXPECT_EQ(row->enabledSwitch()->isChecked(), on);
        }
        EXPECT_EQ(s.scheduleEntries()[1], other);
        use(row->disclosure(), way);
        EXPECT_TRUE(row->findChild<QWidget*>("schedule-entry-editor")->isHidden());
        EXPECT_TRUE(disclosure->state().collapsed && !disclosure->state().expanded);
        EXPECT_EQ(told.take().filter("expanded ").size(), 2); // as it opened and closed
    }

    row->setExpanded(true);
    QCoreApplication::processEvents();
    const QWidget* editor = row->findChild<QWidget*>("schedule-entry-editor");
    QRect content;
    for (const QWidget* control : editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        content |= control->geometry();
    EXPECT_EQ(content.top(), 4);
    EXPECT_EQ(editor->height() - content.bottom() - 1, 4);
    row->enabledSwitch()->setFocus();
    settingstest::press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), row->dayToggle(Weekday::sunday));
    settingstest::expectRings(window, { row->disclosure(), row->dayToggle(Weekday::monday) });
}

// A text too long for its row shows its start ending in "…", cut again as the row narrows or
// widens, and keeps its whole text (the accessible name, the tooltip).
TEST_F(ScheduleSettings, LongTextsEndInAnEllipsis)
{
    using enum Weekday;
    const Profile standup = named("Standup meeting profile for the quarterly review");
    s.setProfiles({ standup });
    ScheduleEntry entry = ScheduleSettingsView::newEntry();
    entry.days = { sunday, monday, wednesday, thursday, friday, saturday };
    entry.profileId = standup.id;
    s.setScheduleEntries({ entry });
    kittest::KitWindow window(new ScheduleSettingsView(f.context));
    ASSERT_NO_FATAL_FAILURE(window.show());
    auto* row = window.window.findChild<ScheduleEntryRow*>();
    for (const auto& [width, cut] : { std::pair { 520, true }, { 1400, false }, { 400, true } }) {
        settingstest::resize(window, width);
        for (SectionListText* text : { row->daysLabel(), row->chip() }) {
            const QString shown = text->shownText();
            EXPECT_EQ(shown.endsWith(QChar(0x2026)), cut) << shown.toStdString();
            EXPECT_TRUE(text->text().startsWith(cut ? shown.chopped(1) : shown));
            EXPECT_EQ(QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name), text->text());
        }
        EXPECT_LE(row->daysLabel()->geometry().right(), row->chip()->geometry().left());
    }
    QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), row->chip()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(row->chip(), &hover);
    EXPECT_EQ(QToolTip::text(), standup.name);
}

// The list's ring shows after Tab, not a click; removing by each way keeps the keyboard in the list
// on the row in the removed one's place, else on "+", and so do Return and Escape in a row's
// field. The editor's fields are named by their labels; the switch is small.
TEST_F(ScheduleSettings, KeyboardWalkRemovesKeepingTheKeyboardInTheList)
{
    using settingstest::press;
    const QList<ScheduleEntry> entries = storeThreeEntries(s);
    auto* view = new ScheduleSettingsView(f.context);
    kittest::KitWindow window(view, true);
    ASSERT_NO_FATAL_FAILURE(window.show());
    ScheduleEntryRow* row = openRow(*view, entries[0].id);
    view->list()->setSelectedId(entries[0].id);
    settingstest::resize(window, 480, 600); // the opened row shows whole
    window.other->setFocus();
    const QImage unfocused = kittest::render(view->list());
    QTest::mouseClick(view->row(entries[0].id), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(kittest::render(view->list()), unfocused);
    window.other->setFocus();
    press(Qt::Key_Tab);
    EXPECT_NE(kittest::render(view->list()), unfocused);

    press(Qt::Key_Down);
    press(Qt::Key_Backtab, 2);
    ASSERT_EQ(QApplication::focusWidget()->objectName(), "schedule-remove");
    press(Qt::Key_Space, 2);
    EXPECT_EQ(s.scheduleEntries(), (QList<ScheduleEntry> { entries[0], entries[2] }));
    EXPECT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(view->selectedEntryId(), entries[2].id);

    for (const auto& [field, label] : { std::pair<QWidget*, QString> { row->startPicker(), "Start Time" },
             { row->endPicker(), "End Time" }, { row->profilePicker(), "Profile" } }) {
        EXPECT_EQ(viewtest::labelsOf(field), QStringList { label });
        // Return or Escape ends the edit with the keyboard in the list, on the field's row.
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
            field->setFocus(Qt::TabFocusReason);
            press(key);
            EXPECT_TRUE(QApplication::focusWidget() == view->list() && view->list()->currentRow() == row)
                << label.toStdString();
        }
    }
    // Labelled by its label, the profile box is named by its value, as screen readers speak it.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(row->profilePicker())->text(QAccessible::Name), "None");
    EXPECT_TRUE(row->profilePicker()->accessibleName().isEmpty());
    const kestu::KestuToggleSwitch regular(kestu::KestuBinding<bool>::constant(true));
    const QSize small = row->enabledSwitch()->size();
    EXPECT_LT(small.height(), regular.height());
    EXPECT_NEAR(double(small.width()) / small.height(), double(regular.width()) / regular.height(), 0.1);

    press(Qt::Key_Up);
    QTest::mouseClick(row->startPicker()->findChild<QLineEdit*>(), Qt::LeftButton);
    ASSERT_TRUE(row->startPicker()->hasFocus());
    kittest::doAction(view->findChild<QWidget*>("schedule-remove"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.scheduleEntries().size() == 1; })); // a press is animated
    EXPECT_EQ(s.scheduleEntries(), QList<ScheduleEntry> { entries[2] });
    EXPECT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(view->selectedEntryId(), std::nullopt);
    press(Qt::Key_Space);
    press(Qt::Key_Delete);
    EXPECT_TRUE(s.scheduleEntries().isEmpty());
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "schedule-add");
}
