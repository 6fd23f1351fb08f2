#include "Platform/Json.h"
#include "Views/Popover/ProfilePickerView.h"
#include "Views/Shared/ViewSymbols.h"
#include "views/SettingsTestSupport.h"

#include <QSignalSpy>

using namespace tremlor;
using settingstest::named;

// Only exact upper-case ids mark an item; a lower-case or stale id marks nothing. Redrawing
// (new id, renamed or new profiles) never writes the store; a choice of the user's does, and
// replaces a stale id.
TEST(ProfilePicker, MarksOnlyExactIdsAndWritesOnlyTheUsersChoice)
{
    ViewSymbols::registerAll();
    TempDefaults temp;
    TremlorSettings& settings = temp.settings();
    const Profile work = named(QStringLiteral("Work"));
    const Profile home = named(QStringLiteral("Work")); // same name, told apart by its id
    settings.setProfiles({ work, home });

    ProfilePickerView view(settings);
    QComboBox* picker = view.picker();
    ASSERT_EQ(picker->count(), 3);

    const QString workId = json::uuidText(work.id);
    const std::pair<QString, int> cases[] = { { QString(), 0 }, { workId, 1 }, { json::uuidText(home.id), 2 },
        { workId.toLower(), -1 }, { json::uuidText(QUuid::createUuid()), -1 } };
    for (const auto& [stored, marked] : cases) {
        SCOPED_TRACE(stored.toStdString());
        settings.setActiveProfileId(stored);
        QSignalSpy writes(&settings, &TremlorSettings::objectWillChange);
        Profile renamed = home;
        renamed.name = QStringLiteral("Home");
        settings.setProfiles({ work, renamed, named(QStringLiteral("Travel")) });
        EXPECT_EQ(picker->currentIndex(), marked);
        EXPECT_EQ(writes.size(), 1) << "only the assignment of the list itself";
        EXPECT_EQ(settings.activeProfileId(), stored);
        settings.setProfiles({ work, home });
    }

    // The closed box does not step from nothing marked (a stale id) through the items: only a
    // choice in the open list writes.
    view.show();
    picker->setFocus();
    const QString stale = settings.activeProfileId();
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(settings.activeProfileId(), stale);
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(settings.activeProfileId(), stale);
}
