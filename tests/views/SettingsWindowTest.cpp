#include "Views/Settings/SettingsWindow.h"

#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "SettingsTestSupport.h"
#include "ViewTestSupport.h"
#include "Views/Settings/SettingsSidebar.h"
#include "Views/Settings/SettingsSidebarRow.h"

#include <QLineEdit>

using namespace tremlor;
using settingstest::Fixture;
using settingstest::named;

namespace {
using S = SettingsSection;

QString names(const QList<SettingsSection>& sections)
{
    QStringList result;
    for (SettingsSection s : sections)
        result << rawValue(s);
    return result.join(u',');
}
} // namespace

// Title first, then keywords in order; lower-cased in full, never trimmed; declaration order.
TEST(SettingsSearch, MatchesTitlesThenKeywordsInDeclarationOrder)
{
    const struct {
        QString query, expected;
    } cases[] = {
        { QString(), "general,mouse,apps,timer,profiles,schedule,advanced,about" },
        { "sched", "timer,schedule" },
        { "start", "general,schedule" },
        { " ", "general,schedule" },
        { " general", "" },
        { "port", "advanced,about" },
        { "tion", "apps,timer,profiles" },
        { "jiggle", "mouse" },
        { "zzz", "" },
        // Full Unicode lower-casing: a capital dotted I becomes "i̇", which no title holds.
        { QString::fromUtf8("\u0130"), "" },
        { QString::fromUtf8("ABOUT"), "about" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(names(SettingsSidebar::filteredSections(c.query)), c.expected) << c.query.toStdString();
}

// Searching never changes the selection; a filtered-out selection shows no row selected and is
// selected again when its row comes back.
TEST(SettingsWindow, SearchKeepsTheSelectionAndItsHighlightReturns)
{
    Fixture f;
    SettingsWindow window(f.context);
    window.sidebar()->row(S::profiles)->click();
    ASSERT_EQ(window.selectedSection(), S::profiles);

    auto* field = window.findChild<QLineEdit*>(QStringLiteral("settings-search-field"));
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, QStringLiteral("dock"));
    EXPECT_EQ(window.sidebar()->visibleSections(), QList<S> { S::general });
    EXPECT_EQ(window.selectedSection(), S::profiles);
    EXPECT_EQ(window.sidebar()->highlightedSection(), std::nullopt);

    auto* clear = window.sidebar()->searchField()->clearButton();
    clear->click();
    EXPECT_EQ(window.sidebar()->visibleSections().size(), 8);
    EXPECT_EQ(window.sidebar()->highlightedSection(), S::profiles);
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
        window.sidebar()->row(section)->click();
        EXPECT_EQ(window.selectedSection(), section);
        EXPECT_EQ(before.isNull(), section != S::general);
        EXPECT_EQ(window.sidebar()->highlightedSection(), section);
        const QPointer<QWidget> shown = window.detailView();
        window.sidebar()->row(section)->click();
        EXPECT_EQ(window.detailView(), shown.data());
        EXPECT_NE(shown, nullptr);
    }
    // The arrow keys walk the listed sections only.
    window.setSearchText(QStringLiteral("port"));
    QTest::keyClick(window.sidebar(), Qt::Key_Up);
    EXPECT_EQ(window.selectedSection(), S::advanced);
    QTest::keyClick(window.sidebar(), Qt::Key_Up);
    EXPECT_EQ(window.selectedSection(), S::advanced);
    QTest::keyClick(window.sidebar(), Qt::Key_Down);
    EXPECT_EQ(window.selectedSection(), S::about);
}
