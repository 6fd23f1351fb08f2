#include "Views/Settings/SettingsWindow.h"

#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "SettingsTestSupport.h"
#include "Views/Settings/SectionList.h"

#include <QLineEdit>

#include <tuple>

using namespace tremlor;
using settingstest::Fixture;
using settingstest::heardRows;
using settingstest::selectSection;
using S = SettingsSection;

// Title first, then keywords in order; lower-cased in full, never trimmed; declaration order.
TEST(SettingsSearch, MatchesTitlesThenKeywordsInDeclarationOrder)
{
    const struct {
        QString query;
        QList<S> expected;
    } cases[] = {
        { QString(), { S::general, S::mouse, S::apps, S::timer, S::profiles, S::schedule, S::advanced, S::about } },
        { "sched", { S::timer, S::schedule } },
        { "start", { S::general, S::schedule } },
        { " ", { S::general, S::schedule } },
        { " general", {} },
        { "port", { S::advanced, S::about } },
        { "tion", { S::apps, S::timer, S::profiles } },
        { "jiggle", { S::mouse } },
        { "zzz", {} },
        // Full Unicode lower-casing: a capital dotted I becomes "i̇", which no title holds.
        { QString::fromUtf8("\u0130"), {} },
        { QString::fromUtf8("ABOUT"), { S::about } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsSidebar::filteredSections(c.query), c.expected) << c.query.toStdString();
}

// Searching never changes the selection; a filtered-out selection shows no row selected and is
// selected again when its row comes back.
TEST(SettingsWindow, SearchKeepsTheSelectionAndItsHighlightReturns)
{
    Fixture f;
    SettingsWindow window(f.context);
    selectSection(window, S::profiles);
    ASSERT_EQ(window.selectedSection(), S::profiles);

    // A Ctrl-click on the selected row leaves it selected.
    selectSection(window, S::profiles, Qt::ControlModifier);
    EXPECT_EQ(heardRows(window.sidebar()->list(), false), QStringList { "Profiles" });

    QTest::keyClicks(window.sidebar()->searchField()->lineEdit(), QStringLiteral("dock"));
    EXPECT_EQ(window.sidebar()->visibleSections(), QList<S> { S::general });
    EXPECT_EQ(window.selectedSection(), S::profiles);
    EXPECT_EQ(heardRows(window.sidebar()->list(), false), QStringList());

    window.sidebar()->searchField()->clearButton()->click();
    EXPECT_EQ(window.sidebar()->visibleSections().size(), 8);
    EXPECT_EQ(heardRows(window.sidebar()->list(), false), QStringList { "Profiles" });
}

// Every newly selected section gets a fresh view; selecting the shown section again keeps its
// view, and whatever the user typed or opened in it, as it is.
TEST(SettingsWindow, EachNewSelectionBuildsAFreshView)
{
    Fixture f;
    SettingsWindow window(f.context);
    EXPECT_EQ(window.selectedSection(), S::general);
    for (SettingsSection section : allCases<SettingsSection>()) {
        const QPointer<QWidget> before = window.detailView();
        selectSection(window, section);
        EXPECT_EQ(window.selectedSection(), section);
        EXPECT_EQ(before.isNull(), section != S::general);
        EXPECT_EQ(heardRows(window.sidebar()->list(), false), QStringList { title(section) });
        const QPointer<QWidget> shown = window.detailView();
        selectSection(window, section);
        EXPECT_EQ(window.detailView(), shown.data());
        EXPECT_NE(shown, nullptr);
    }
    // The arrow keys walk the listed sections only; with the selection filtered out, Up starts
    // from the last one.
    window.setSearchText(QStringLiteral("sched"));
    for (const auto& [key, expected] : { std::pair { Qt::Key_Up, S::schedule }, { Qt::Key_Up, S::timer },
             { Qt::Key_Up, S::timer }, { Qt::Key_Down, S::schedule } }) {
        QTest::keyClick(window.sidebar()->list(), key);
        EXPECT_EQ(window.selectedSection(), expected);
    }
}

// Down walks every section and Up walks back with the keyboard kept in the list, past the
// sections whose field takes it when they appear (and the later rows of a long profile list).
// Tab then enters such a section at that field; a click on its row gives the field the keyboard.
TEST(SettingsWindow, ArrowKeysWalkTheSectionsWithTheKeyboardKeptInTheList)
{
    Fixture f;
    f.apps = { AppInfo("firefox", "Firefox", {}) };
    QList<Profile> profiles;
    for (int i = 0; i < SectionList::firstRows + 5; ++i)
        profiles << settingstest::named(QStringLiteral("Profile %1").arg(i));
    f.settings().setProfiles(profiles);
    SettingsWindow window(f.context);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    QListView* list = window.sidebar()->list();
    const auto all = allCases<S>();
    const QList<S> sections(all.begin(), all.end());
    const auto choose = [&](std::optional<S> clicked, Qt::Key key) {
        clicked ? selectSection(window, *clicked) : QTest::keyClick(QApplication::focusWidget(), key);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    choose(S::general, {});
    for (const Qt::Key key : { Qt::Key_Down, Qt::Key_Up }) {
        for (int step = 1; step < sections.size(); ++step) {
            const S expected = sections[key == Qt::Key_Down ? step : sections.size() - 1 - step];
            choose(std::nullopt, key);
            EXPECT_EQ(window.detailView()->objectName(), rawValue(expected) + "-settings");
            EXPECT_TRUE(window.detailView()->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), list) << rawValue(expected).toStdString();
        }
    }
    const std::tuple<S, QString, QString> fields[]
        = { { S::apps, "apps-search-field", "" }, { S::timer, "custom-minutes-field", "" } };
    for (const auto& [section, field, text] : fields) {
        choose(sections[sections.indexOf(section) - 1], {});
        choose(std::nullopt, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), field);
        choose(S::general, {});
        choose(section, {});
        EXPECT_EQ(QApplication::focusWidget()->objectName(), field);
        EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), text);
    }
    // No profile name takes the keyboard by itself: Tab enters Profiles at its list.
    choose(S::timer, {});
    choose(std::nullopt, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "profiles-list");
}
