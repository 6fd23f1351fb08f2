#pragma once

#include "Helpers/AccessibilityChecking.h"
#include "Helpers/AppScanning.h"
#include "Helpers/LoginItemManaging.h"
#include "Views/Settings/SectionList.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsSidebar.h"
#include "Views/Settings/SettingsWindow.h"
#include "core/TempDefaults.h"
#include "kit/KitTestSupport.h"
#include "support/FakeClock.h"

#include <QAccessible>
#include <QListView>

#include <memory>

namespace settingstest {

// A scanner over a fixed list; counts its scans into `scans` when given.
struct ListScanner final : tremlor::AppScanning {
    explicit ListScanner(QList<tremlor::AppInfo> list = {}, int* scanCount = nullptr)
        : apps(std::move(list))
        , scans(scanCount)
    {
    }
    QList<tremlor::AppInfo> scanInstalledApps() override
    {
        if (scans)
            ++*scans;
        return apps;
    }
    QList<tremlor::AppInfo> apps;
    int* scans;
};

struct FakeLoginItem final : tremlor::LoginItemManaging {
    bool isEnabled() const override { return enabled; }
    void setEnabled(bool value) override
    {
        ++writes;
        if (fails)
            throw tremlor::LoginItemError("not writable");
        enabled = value;
    }
    bool enabled = false;
    bool fails = false;
    int writes = 0;
};

// Trust as the test sets it; counts the checks and the prompts asked for.
struct FakeAccessibility final : tremlor::AccessibilityChecking {
    bool isTrusted() const override
    {
        ++checks;
        return trusted;
    }
    bool requestAccess(bool prompt) override
    {
        requests += prompt ? 1 : 0;
        return trusted;
    }
    bool trusted = true;
    mutable int checks = 0;
    int requests = 0;
};

// A store over a private domain and fakes for every service a section takes.
struct Fixture {
    Fixture()
        : context { temp.settings(), [this] { return std::make_unique<ListScanner>(apps, &scans); }, accessibility,
            loginItem, clock }
    {
    }
    tremlor::TremlorSettings& settings() { return temp.settings(); }

    TempDefaults temp;
    QList<tremlor::AppInfo> apps;
    int scans = 0;
    FakeLoginItem loginItem;
    FakeAccessibility accessibility;
    tremlor::testing::FakeClock clock;
    tremlor::SettingsContext context;
};

// A suite over a fixture and its store.
struct FixtureTest : ::testing::Test {
    Fixture f;
    tremlor::TremlorSettings& s = f.settings();
};

// A profile of its own id with these values.
inline tremlor::Profile named(const QString& name, double interval = 30,
    tremlor::MovementPattern pattern = tremlor::MovementPattern::bounce, QStringList apps = {})
{
    return { .id = QUuid::createUuid(),
        .name = name,
        .selectedAppBundleIDs = std::move(apps),
        .maxInterval = interval,
        .movementPattern = pattern };
}

// Chooses `section` as the user does: a click on its row in the shown window's sidebar.
inline void selectSection(
    tremlor::SettingsWindow& window, tremlor::SettingsSection section, Qt::KeyboardModifiers modifiers = {})
{
    window.show();
    QListView* list = window.sidebar()->list();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, modifiers, list->visualRect(window.sidebar()->indexOf(section)).center());
}

// The rows of `list` that a screen reader hears as checked check boxes (or else as selected
// list items).
inline QStringList heardRows(QAbstractItemView* list, bool checked)
{
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
    // Offscreen no bridge listens: tell a table what a live bridge would hear after a reset.
    QAccessibleTableModelChangeEvent reset(list, QAccessibleTableModelChangeEvent::ModelReset);
    if (QAccessibleTableInterface* table = view->tableInterface())
        table->modelChange(&reset);
    QStringList rows;
    for (int i = 0; i < view->childCount(); ++i)
        if (const QAccessible::State state = view->child(i)->state(); checked
                ? view->child(i)->role() == QAccessible::CheckBox && state.checkable && state.checked
                : view->child(i)->role() == QAccessible::ListItem && state.selected)
            rows << view->child(i)->text(QAccessible::Name);
    return rows;
}

// Presses `key` `times` over on whatever holds the keyboard, as a keyboard does.
inline void press(Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(QApplication::focusWidget(), key);
}

// The rows of a settings list that a screen reader hears as selected; every row is a list item
// of the list that can be selected, and the list's table tells the same selection.
inline QStringList heardSelected(tremlor::SectionList* list)
{
    QStringList rows;
    for (tremlor::SectionListRow* row : list->rows()) {
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(row);
        EXPECT_TRUE(
            item->role() == QAccessible::ListItem && item->state().selectable && item->parent()->object() == list);
        EXPECT_EQ(item->parent()->indexOfChild(item), list->rows().indexOf(row));
        if (item->state().selected)
            rows << item->text(QAccessible::Name);
    }
    QStringList cells;
    for (QAccessibleInterface* cell : QAccessible::queryAccessibleInterface(list)->tableInterface()->selectedCells())
        cells << cell->text(QAccessible::Name);
    EXPECT_EQ(cells, rows);
    return rows;
}

// Each of `controls` is drawn otherwise while it holds the keyboard.
inline void expectRings(kittest::KitWindow& window, const QList<QWidget*>& controls)
{
    for (QWidget* control : controls) {
        window.other->setFocus();
        const QImage unfocused = kittest::render(control);
        control->setFocus();
        EXPECT_NE(kittest::render(control), unfocused) << control->objectName().toStdString();
    }
}

// Resizes the shown window and lets its layouts settle, one level a turn.
inline void resize(kittest::KitWindow& window, int width, int height = 400)
{
    window.window.resize(width, height);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace settingstest
