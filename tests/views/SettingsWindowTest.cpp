#include "Views/Settings/SettingsWindow.h"

#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KeyboardWalk.h"
#include "Models/Duration.h"
#include "SettingsTestSupport.h"
#include "ToldToReaders.h"
#include "Views/Settings/SectionList.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QScopeGuard>

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
// sections whose field takes it when they appear (and the later rows of a long profile list); the
// row with the keyboard alone reports focused to a screen reader. Tab then enters such a section
// at its first control; a click on its row gives the field the keyboard.
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
    const auto focusedRows = [list] {
        QStringList rows;
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
        for (int i = 0; i < view->childCount(); ++i)
            if (view->child(i)->state().focused && view->child(i)->state().selected)
                rows << view->child(i)->text(QAccessible::Name);
        return rows;
    };
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
            EXPECT_EQ(focusedRows(), QStringList { title(expected) });
        }
    }
    // The section, the control Tab reaches from the list, the field that takes the keyboard.
    const std::tuple<S, QString, QString> fields[] = { { S::apps, "apps-search-field", "apps-search-field" },
        { S::timer, "default-duration-picker", "custom-minutes-field" } };
    viewtest::ToldLog told;
    for (const auto& [section, afterTab, field] : fields) {
        choose(sections[sections.indexOf(section) - 1], {});
        choose(std::nullopt, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), afterTab);
        EXPECT_EQ(focusedRows(), QStringList());
        choose(std::nullopt, Qt::Key_Backtab);
        EXPECT_EQ(focusedRows(), QStringList { title(section) });
        EXPECT_EQ(told.takeLast("@"), "@" + title(section)); // the row, after the list
        choose(S::general, {});
        choose(section, {});
        EXPECT_EQ(QApplication::focusWidget()->objectName(), field);
        EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), QString());
    }
}

// From the search Tab goes clear, list, section; Down walks the results in the list; Return opens the
// first one's field, also when it is shown already, and Return there leaves the keyboard with its
// neighbour, not in the search.
TEST(SettingsWindow, SearchFieldLeadsIntoItsResults)
{
    Fixture f;
    SettingsWindow window(f.context, S::general);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    QLineEdit* search = window.sidebar()->searchField()->lineEdit();
    QAbstractButton* clear = window.sidebar()->searchField()->clearButton();
    const auto focused = [] { return viewtest::stopName(QApplication::focusWidget()); };
    QTest::mouseClick(search, Qt::LeftButton);
    QTest::keyClicks(search, QStringLiteral("port"));
    QStringList stops;
    for (int i = 0; i < 3; ++i)
        stops << (settingstest::press(Qt::Key_Tab), focused());
    EXPECT_EQ(stops, QStringList({ viewtest::stopName(clear), "settings-sections", "launch-at-login-toggle-switch" }));
    settingstest::press(Qt::Key_Backtab, 2);
    settingstest::press(Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), search);
    EXPECT_EQ(window.sidebar()->visibleSections().size(), 8);

    QTest::keyClicks(search, QStringLiteral("sched"));
    for (const S expected : { S::timer, S::schedule }) {
        settingstest::press(Qt::Key_Down);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.detailView()->objectName(), rawValue(expected) + "-settings");
        EXPECT_EQ(QApplication::focusWidget(), window.sidebar()->list());
    }

    QTest::mouseClick(search, Qt::LeftButton);
    search->selectAll();
    QTest::keyClicks(search, QStringLiteral("countdown"));
    settingstest::press(Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(focused(), "custom-minutes-field");
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45"));
    settingstest::press(Qt::Key_Return);
    settingstest::press(Qt::Key_Space);
    EXPECT_EQ(f.settings().defaultDurationId(), Duration::custom(45).id());
    QTest::mouseClick(search, Qt::LeftButton);
    settingstest::press(Qt::Key_Return);
    EXPECT_EQ(focused(), "custom-minutes-field");
}

// The sidebar's edge drags within its limits; the section takes the rest of a window of fixed size.
TEST(SettingsWindow, SidebarEdgeDragsWithinItsLimits)
{
    Fixture f;
    SettingsWindow window(f.context, S::mouse);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    const QSize size = window.size();
    auto* edge = window.findChild<QWidget*>(QStringLiteral("settings-sidebar-edge"));
    ASSERT_NE(edge, nullptr);
    for (const auto& [by, expected] : { std::pair { 100, 220 }, { -30, 190 }, { -100, 160 }, { 10, 170 } }) {
        const QPoint from = edge->rect().center();
        kittest::sendMouse(edge, QEvent::MouseButtonPress, from);
        kittest::sendMouse(edge, QEvent::MouseMove, from + QPoint(by, 0));
        kittest::sendMouse(edge, QEvent::MouseButtonRelease, from + QPoint(by, 0), Qt::NoButton);
        // Qt grabs a hairline edge a few pixels either side of it, which may shift a drag by two.
        EXPECT_NEAR(window.sidebar()->width(), expected, 2) << by;
        EXPECT_EQ(window.detailView()->mapTo(&window, QPoint(window.detailView()->width(), 0)).x(), window.width());
        EXPECT_EQ(window.size(), size);
    }
}

// The sidebar's selection and a switch that is on wear the desktop's highlight, light and dark;
// the ring shows on the selected row too.
TEST(SettingsWindow, SelectionAndSwitchesWearTheDesktopsHighlight)
{
    Fixture f;
    f.settings().setPlaySoundOnToggle(true);
    const QPalette original = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
    for (const bool dark : { false, true }) {
        QApplication::setPalette(kittest::palette(dark));
        const QColor highlight = QApplication::palette().color(QPalette::Highlight);
        SettingsWindow window(f.context);
        ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
        const QRect row = window.sidebar()->list()->visualRect(window.sidebar()->indexOf(S::general));
        const QImage sidebar = kittest::render(window.sidebar()->list()->viewport());
        EXPECT_TRUE(kittest::near(sidebar.pixelColor(row.left() + 4, row.center().y()), highlight)) << dark;
        // With the keyboard in the list, the selected row wears the ring along its edge.
        window.sidebar()->searchField()->lineEdit()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(window.sidebar()->list()->hasFocus());
        const QImage ringed = kittest::render(window.sidebar()->list()->viewport());
        EXPECT_NE(ringed.copy(row), sidebar.copy(row)) << dark;
        const QImage track = kittest::render(
            window.findChild<kestu::KestuToggleStyle*>(QStringLiteral("play-sound-toggle"))->toggleSwitch());
        EXPECT_TRUE(kittest::near(track.pixelColor(6, track.height() / 2), highlight, 8)) << dark;
    }
}

// Return in the slider's value leaves the keyboard with the slider beside it.
TEST(SettingsWindow, ReturnInAFieldLeavesTheKeyboardNearby)
{
    Fixture f;
    SettingsWindow window(f.context, S::mouse);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    QTest::mouseClick(window.detailView()->findChild<kestu::KestuSliderLabelField*>(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45"));
    settingstest::press(Qt::Key_Return);
    EXPECT_EQ(f.settings().maxInterval(), 45);
    settingstest::press(Qt::Key_Right);
    EXPECT_GT(f.settings().maxInterval(), 45);
}
