#include "Views/Settings/ProfilesSettingsView.h"

#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "Views/Settings/ProfileRow.h"
#include "Views/Settings/SettingsWindow.h"
#include "views/SettingsTestSupport.h"
#include "views/ToldToReaders.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenu>

#include <limits>

using namespace tremlor;
using settingstest::named;

namespace {

QStringList names(const TremlorSettings& s)
{
    QStringList list;
    for (const Profile& p : s.profiles())
        list << p.name;
    return list;
}

QList<QUuid> checked(ProfilesSettingsView& view)
{
    QList<QUuid> ids;
    for (SectionListRow* r : view.list()->rows()) {
        if (!static_cast<ProfileRow*>(r)->checkMark()->isHidden())
            ids << r->id();
    }
    return ids;
}

void trigger(ProfilesSettingsView& view, const QUuid& id, const char* action)
{
    QMenu* menu = view.makeMenu(id);
    menu->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    delete menu;
}

using ProfilesSettings = settingstest::FixtureTest;

// What screen readers are told of rows: "+name" as a row becomes selected, "-name" as it stops
// being, "@name" as the keyboard comes to it.
QStringList told;
void tell(QAccessibleEvent* event)
{
    if (!qobject_cast<SectionListRow*>(event->object()))
        return;
    const QString name = event->accessibleInterface()->text(QAccessible::Name);
    if (event->type() == QAccessible::SelectionAdd || event->type() == QAccessible::SelectionRemove)
        told << (event->type() == QAccessible::SelectionAdd ? "+" : "-") + name;
    if (event->type() == QAccessible::Focus && event->accessibleInterface()->state().focused)
        told << "@" + name;
}

} // namespace

TEST_F(ProfilesSettings, SummaryLine)
{
    const std::pair<Profile, const char*> cases[] = {
        { named("a"), "30s · Bounce" },
        { named("b", 12.5, MovementPattern::natural, { "x", "y" }), "12s · Natural · 2 apps" },
        { named("c", 59.9, MovementPattern::drift, { "x" }), "59s · Drift · 1 app" },
        // Never cast to an integer out of its range.
        { named("e", 1e300), "1e+300s · Bounce" },
        { named("f", std::numeric_limits<double>::quiet_NaN()), "–s · Bounce" },
        { named("g", -std::numeric_limits<double>::infinity()), "-∞s · Bounce" },
    };
    for (const auto& [profile, expected] : cases)
        EXPECT_EQ(ProfilesSettingsView::profileSummary(profile), QString::fromUtf8(expected)) << expected;
}

// Duplicate, Set as Default and the bar's buttons; only the applied profile is checked, and new
// profiles come at the end without being selected.
TEST_F(ProfilesSettings, ActionsAndCheckMark)
{
    const Profile work = named("Work", 45, MovementPattern::circle, { "firefox" });
    s.setProfiles({ work, named("Home") });
    ProfilesSettingsView view(f.context);
    EXPECT_TRUE(checked(view).isEmpty());

    trigger(view, work.id, "profile-duplicate");
    trigger(view, s.profiles().last().id, "profile-duplicate");
    EXPECT_EQ(names(s), (QStringList { "Work", "Home", "Work Copy", "Work Copy Copy" }));
    EXPECT_EQ(s.profiles()[3].maxInterval, 45);

    trigger(view, work.id, "profile-set-default");
    EXPECT_EQ(s.maxInterval(), 45);
    EXPECT_EQ(checked(view), QList<QUuid> { work.id });

    // Plus makes its own profile, not one of the applied settings.
    view.list()->setSelectedId(work.id);
    view.findChild<QAbstractButton*>("profiles-save-current")->click();
    view.findChild<QAbstractButton*>("profiles-add")->click();
    EXPECT_EQ(names(s).mid(4), (QStringList { "New Profile", "Untitled" }));
    EXPECT_EQ(view.selectedProfileId(), work.id);
    EXPECT_EQ(static_cast<ProfileRow*>(view.list()->rows().last())->summaryLabel()->text(), "30s · Bounce");
    EXPECT_FALSE(s.profiles().last().id.isNull());
    trigger(view, s.profiles()[1].id, "profile-set-default");
    EXPECT_EQ(checked(view), QList<QUuid> { s.profiles()[1].id });
}

// Deleting by the menu, the minus button and the Delete key, with each one's selection rule;
// the active profile's id stays behind and no row is checked.
TEST_F(ProfilesSettings, DeletionEachWayKeepsItsSelectionRule)
{
    const QList<Profile> start { named("A"), named("B"), named("C"), named("D") };
    s.setProfiles(start);
    s.applyProfile(start[0]);
    ProfilesSettingsView view(f.context);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(view));
    auto* minus = view.findChild<QAbstractButton*>("profiles-remove");
    EXPECT_FALSE(minus->isEnabled());

    // A right-click opens a row's menu without selecting the row. Duplicate and Delete on another
    // row keep the selection; Delete on the selected row clears it, which disables minus.
    view.list()->setSelectedId(start[1].id);
    const std::tuple<const char*, int, QStringList, std::optional<QUuid>> menuSteps[] = {
        { "profile-duplicate", 0, { "A", "B", "C", "D", "A Copy" }, start[1].id },
        { "profile-delete", 0, { "B", "C", "D", "A Copy" }, start[1].id },
        { "profile-delete", 1, { "C", "D", "A Copy" }, std::nullopt },
    };
    for (const auto& [action, row, after, selected] : menuSteps) {
        // A right press, and the menu event the window system sends with it.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), QPointF(), Qt::RightButton, Qt::RightButton, {});
        QContextMenuEvent opening(QContextMenuEvent::Mouse, QPoint(4, 4), QPoint(4, 4));
        QApplication::sendEvent(view.row(start[row].id), &press);
        QApplication::sendEvent(view.row(start[row].id), &opening);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->findChild<QAction*>(action)).center());
        EXPECT_EQ(names(s), after);
        EXPECT_EQ(view.selectedProfileId(), selected) << action;
    }
    EXPECT_EQ(s.activeProfileId(), json::uuidText(start[0].id));
    EXPECT_TRUE(checked(view).isEmpty());

    // The Delete key removes the selected profile and clears the selection. A selection whose
    // profile went elsewhere: minus removes nothing and clears it.
    view.list()->setSelectedId(start[2].id);
    view.list()->setFocus();
    QTest::keyClick(view.list(), Qt::Key_Delete);
    EXPECT_EQ(names(s), (QStringList { "D", "A Copy" }));
    EXPECT_EQ(view.selectedProfileId(), std::nullopt);
    EXPECT_EQ(view.list()->currentRow(), view.row(start[3].id));
    view.list()->setSelectedId(start[3].id);
    s.setProfiles({ start[0] });
    EXPECT_TRUE(minus->isEnabled());
    minus->click();
    EXPECT_EQ(names(s), QStringList { "A" });
    EXPECT_FALSE(minus->isEnabled());

    view.list()->setSelectedId(start[0].id);
    minus->click();
    EXPECT_TRUE(s.profiles().isEmpty());
    EXPECT_FALSE(view.list()->emptyState()->isHidden());
}

// A rename is saved at every keystroke into the profile with the row's id, exactly as typed
// (Return trims nothing), while the field keeps its caret; an outside change of the list
// (another profile removed) leaves the rename under way alone.
TEST_F(ProfilesSettings, RenameSavesEveryKeystrokeByIdAsTyped)
{
    const QList<Profile> start { named("Alpha"), named("Work") };
    s.setProfiles(start);
    ProfilesSettingsView view(f.context);
    kittest::showActive(view);
    ProfileRow* row = view.row(start[1].id);
    kestu::KestuTextField* field = row->nameField();
    QTest::mouseClick(field, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
    EXPECT_EQ(view.selectedProfileId(), start[1].id);
    field->setCursorPosition(4);

    QTest::keyClicks(field, " Day");
    EXPECT_EQ(names(s), (QStringList { "Alpha", "Work Day" }));
    s.setProfiles({ s.profiles()[1] }); // an import or the panel changes the list meanwhile
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClicks(field, "s");
    EXPECT_EQ(names(s), QStringList { "Work Dasy" });
    EXPECT_EQ(view.row(start[1].id), row);
    EXPECT_EQ(field->cursorPosition(), 8);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, " ");
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, "  ");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(names(s), QStringList { " Work Dasy  " });
}

// A store edited by hand may repeat an id: the first profile with it has the one row, which
// edits that profile only; the later one keeps its place in the store and gets no row, also
// when the list changes (no row left behind without its profile).
TEST_F(ProfilesSettings, RepeatedIdHasOneRowForTheFirstProfile)
{
    const Profile work = named("Work");
    Profile twin = named("Twin", 90);
    twin.id = work.id;
    s.setProfiles({ work, named("Home"), twin });
    ProfilesSettingsView view(f.context);
    view.findChild<QAbstractButton*>("profiles-add")->click();
    EXPECT_EQ(view.findChildren<ProfileRow*>().size(), 3);
    EXPECT_EQ(view.list()->rows().size(), 3);

    view.row(work.id)->nameField()->replaceText(QStringLiteral("Office"));
    EXPECT_EQ(names(s), (QStringList { "Office", "Home", "Twin", "Untitled" }));
    EXPECT_EQ(view.row(work.id)->summaryLabel()->text(), QStringLiteral("30s · Bounce"));
}

// Keyboard alone: Tab reaches the list, whose arrows, Home and End select (scrolling to the row)
// and move the keyboard, as screen readers hear; Delete removes the selected profile, leaving none
// selected and the keyboard on the row in its place, which Space selects; "Remove Profile",
// reached by Tab, removes the selected one on Space or Return. A row's press action
// selects it, the name field keeps its keys, and what holds the keyboard wears a ring.
TEST_F(ProfilesSettings, KeyboardAloneSelectsAndRemoves)
{
    using settingstest::press;
    QList<Profile> start;
    for (const char* name : { "A", "B", "C", "D", "E" })
        start << named(name);
    s.setProfiles(start);
    auto* view = new ProfilesSettingsView(f.context);
    kittest::KitWindow window(view, true);
    ASSERT_NO_FATAL_FAILURE(window.show());
    window.window.resize(420, 240); // three rows show
    window.other->setFocus();
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(view->list())->role(), QAccessible::List);
    viewtest::toldToReaders = tell;
    // A key, the row then selected, and what screen readers are told.
    const std::tuple<Qt::Key, const char*, QStringList> moves[] = { { Qt::Key_Up, "E", { "+E", "@E" } },
        { Qt::Key_Up, "D", { "+D", "-E", "@D" } }, { Qt::Key_End, "E", { "+E", "-D", "@E" } },
        { Qt::Key_Down, "E", {} }, { Qt::Key_Home, "A", { "+A", "-E", "@A" } }, { Qt::Key_Up, "A", {} },
        { Qt::Key_Down, "B", { "+B", "-A", "@B" } }, { Qt::Key_Delete, "", { "@C" } },
        { Qt::Key_Space, "C", { "+C" } } };
    for (const auto& [key, selected, changes] : moves) {
        told.clear();
        press(key);
        told.sort();
        EXPECT_EQ(told, changes);
        EXPECT_EQ(settingstest::heardSelected(view->list()).join(""), selected);
        EXPECT_FALSE(view->list()->currentRow()->visibleRegion().isEmpty()) << selected;
    }
    viewtest::toldToReaders = nullptr;
    EXPECT_EQ(names(s), (QStringList { "A", "C", "D", "E" }));
    // An assistive tool selects through the list's table.
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(view->list())->tableInterface();
    EXPECT_TRUE(table->unselectRow(1) && table->selectedRowCount() == 0 && table->selectRow(1));
    EXPECT_EQ(view->selectedProfileId(), start[2].id);
    press(Qt::Key_Tab, 3);
    ASSERT_EQ(QApplication::focusWidget()->objectName(), "profiles-remove");
    press(Qt::Key_Space);
    EXPECT_EQ(names(s), (QStringList { "A", "D", "E" }));
    press(Qt::Key_Up);
    press(Qt::Key_Tab, 3);
    press(Qt::Key_Return);
    EXPECT_EQ(names(s), (QStringList { "D", "E" }));
    QAccessible::queryAccessibleInterface(view->row(start[4].id))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(view->selectedProfileId(), start[4].id);
    view->row(start[3].id)->nameField()->setFocus();
    for (const Qt::Key key : { Qt::Key_Home, Qt::Key_Down, Qt::Key_Up, Qt::Key_Delete })
        press(key);
    EXPECT_EQ(names(s), (QStringList { "", "E" }));
    EXPECT_EQ(view->selectedProfileId(), start[4].id);
    settingstest::expectRings(window, { view->list(), view->findChild<QWidget*>("profiles-remove") });
}

// A summary too long for its row ends in "…" and keeps its whole text.
TEST_F(ProfilesSettings, LongSummaryEndsInAnEllipsis)
{
    s.setProfiles({ named("Reading", 300, MovementPattern::natural, QStringList(12, QStringLiteral("app"))) });
    kittest::KitWindow window(new ProfilesSettingsView(f.context));
    window.layout->setSizeConstraint(QLayout::SetNoConstraint);
    ASSERT_NO_FATAL_FAILURE(window.show());
    SectionListText* summary = window.window.findChild<ProfileRow*>()->summaryLabel();
    for (const auto& [width, cut] : { std::pair { 600, false }, { 150, true } }) {
        settingstest::resize(window, width);
        EXPECT_EQ(summary->shownText().endsWith(QChar(0x2026)), cut);
        EXPECT_EQ(summary->text(), QString::fromUtf8("300s · Natural · 12 apps"));
    }
}

// No name takes the keyboard by itself; Tab goes list, bar, selected name. "−" and the row menu
// (Menu key, Shift+F10, an assistive tool) leave the keyboard in the list on the row in the
// removed one's place, else on "+"; so do Return and Escape in a name, and a name whose profile
// goes elsewhere.
TEST_F(ProfilesSettings, KeyboardWalkRemovesAndUsesTheMenuLeavingOtherNamesAlone)
{
    using settingstest::press;
    s.setProfiles({ named("A"), named("B"), named("C") });
    const QList<Profile> start = s.profiles();
    SettingsWindow window(f.context);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    settingstest::selectSection(window, SettingsSection::profiles);
    QCoreApplication::processEvents(); // what the section asks for as it appears
    auto* view = qobject_cast<ProfilesSettingsView*>(window.detailView());
    ASSERT_NE(view, nullptr);
    view->list()->setSelectedId(start[1].id);
    QStringList stops { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < 5; ++i)
        stops << (press(Qt::Key_Tab), QApplication::focusWidget()->objectName());
    EXPECT_EQ(stops,
        QStringList({ "settings-sections", "profiles-list", "profiles-save-current", "profiles-add", "profiles-remove",
            "profile-name" }));
    EXPECT_EQ(QApplication::focusWidget(), view->row(start[1].id)->nameField());
    press(Qt::Key_Backtab);
    press(Qt::Key_Space, 2);
    EXPECT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(view->selectedProfileId(), start[2].id);
    EXPECT_EQ(names(s), (QStringList { "A", "C" }));

    const std::function<void()> opens[] = {
        [] { press(Qt::Key_Menu); }, [&] { QTest::keyClick(view->list(), Qt::Key_F10, Qt::ShiftModifier); },
        [&] { kittest::doAction(view->row(*view->selectedProfileId()), QAccessibleActionInterface::showMenuAction()); }
    };
    // The way the menu opens, the keys choosing in it, the profiles and selection then.
    const std::tuple<int, QList<Qt::Key>, QStringList, QStringList> menuWalk[] = {
        { 0, { Qt::Key_Down, Qt::Key_Return }, { "A", "C", "C Copy" }, { "C" } }, // Duplicate
        { 1, { Qt::Key_Down, Qt::Key_Down, Qt::Key_Return }, { "A", "C", "C Copy" }, { "C" } }, // Set as Default
        { 2, { Qt::Key_Up, Qt::Key_Return }, { "A", "C Copy" }, {} }, // Delete
        { 0, { Qt::Key_Down, Qt::Key_Return }, { "A", "C Copy", "C Copy Copy" }, {} }, // the row in its place
    };
    for (const auto& [way, keys, after, selected] : menuWalk) {
        SCOPED_TRACE(way);
        opens[way]();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const Qt::Key key : keys)
            QTest::keyClick(menu, key);
        EXPECT_EQ(names(s), after);
        EXPECT_EQ(QApplication::focusWidget(), view->list());
        EXPECT_EQ(settingstest::heardSelected(view->list()), selected);
    }
    EXPECT_EQ(s.activeProfileId(), json::uuidText(start[2].id));

    // Return or Escape ends the rename with the keyboard in the list, on its row, as screen readers
    // hear: the next key removes nothing.
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window)); // back from the menus
    press(Qt::Key_Space);
    viewtest::toldToReaders = tell;
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
        press(Qt::Key_Tab, 4);
        ASSERT_EQ(QApplication::focusWidget()->objectName(), "profile-name");
        QTest::keyClicks(QApplication::focusWidget(), "x");
        told.clear();
        press(key);
        QCoreApplication::processEvents();
        press(key);
        EXPECT_EQ(QApplication::focusWidget(), view->list());
        EXPECT_EQ(QSet<QString>(told.cbegin(), told.cend()), QSet<QString> { "@C Copyx" });
    }
    viewtest::toldToReaders = nullptr;
    EXPECT_EQ(names(s), (QStringList { "A", "C Copyx", "C Copy Copy" }));

    // A name that has the keyboard as its profile goes elsewhere: the keyboard goes to the list.
    QTest::mouseClick(static_cast<ProfileRow*>(view->list()->rows().last())->nameField(), Qt::LeftButton);
    ASSERT_TRUE(QApplication::focusWidget()->inherits("kestu::KestuTextField"));
    s.setProfiles({ start[0] });
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), view->list());
    EXPECT_EQ(view->list()->currentRow(), view->row(start[0].id));

    // The last row: with none left the keyboard goes to "+".
    press(Qt::Key_Space);
    press(Qt::Key_Tab, 3);
    ASSERT_EQ(QApplication::focusWidget()->objectName(), "profiles-remove");
    press(Qt::Key_Space);
    EXPECT_TRUE(s.profiles().isEmpty());
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "profiles-add");
}
