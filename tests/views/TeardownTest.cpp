#include "App/AppWindows.h"
#include "App/PanelPopup.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/SettingsSidebar.h"
#include "Views/Settings/SettingsSidebarRow.h"
#include "Views/Settings/SettingsWindow.h"
#include "views/FakeEngine.h"
#include "views/SettingsTestSupport.h"
#include "views/ViewTestSupport.h"

#include <QPointer>

// Leaving a section, closing a window or hiding the panel while the keyboard is in one of its
// fields: nothing may reach a widget that is being destroyed (the sanitizer build sees any touch).
using namespace tremlor;
using S = SettingsSection;

namespace {

// Lets layouts settle and queued focus requests run, as the event loop does before a frame.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A click as the user makes it: into the window, on whatever lies at that point of `w`.
void click(QWidget* w, QPoint at = { 4, 8 })
{
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), at));
    settle();
}

void select(SettingsWindow& window, S section)
{
    click(window.sidebar()->row(section));
}

// `root` or its first shown control (no scrolling pane) that takes the keyboard on a click.
QWidget* focusable(QWidget* root)
{
    for (QWidget* w : QList<QWidget*> { root } + root->findChildren<QWidget*>())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)
            && !w->inherits("QAbstractScrollArea"))
            return w;
    return nullptr;
}

// Each section's editable field and what is typed there (none: its first control takes the keyboard).
const std::pair<const char*, const char*> edits[] = { {}, { "interval-slider", "42" }, { "apps-search-field", "ka" },
    { "custom-minutes-field", "45" }, { "profile-name", "s" }, { "schedule-start-time", "9" }, {}, {} };

void editIn(SettingsWindow& window, S section)
{
    QWidget* detail = window.detailView();
    if (section == S::schedule) // the times are in an entry's opened editor
        click(detail->findChild<QWidget*>("schedule-entry-disclosure"));
    const auto [field, typed] = edits[static_cast<int>(section)];
    QWidget* target = focusable(field ? detail->findChild<QWidget*>(field) : detail);
    ASSERT_NE(target, nullptr);
    if (typed)
        click(target, { 4, target->height() / 2 });
    else
        target->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
    ASSERT_TRUE(detail->isAncestorOf(QApplication::focusWidget()));
}

void activate(QWidget* window)
{
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window));
    settle();
}

// Windows as the application makes them, over two profiles, two schedule entries, chosen
// applications and a custom duration.
struct Stored : settingstest::Fixture {
    Stored()
    {
        apps = { AppInfo("firefox", "Firefox", {}), AppInfo("org.kde.kate", "Kate", {}) };
        settings().setProfiles({ settingstest::named("Work"), settingstest::named("Home", 9, MovementPattern::drift) });
        settings().setScheduleEntries({ ScheduleSettingsView::newEntry(), ScheduleSettingsView::newEntry() });
        settings().setSelectedAppBundleIDs({ "firefox", "org.kde.kate" });
        settings().setDefaultDurationId(Duration::custom(45).id());
    }
    viewtest::MotionOverride reduced { true };
    AppWindows windows { [this] { return new SettingsWindow(context); },
        [this] { return new OnboardingWindow(settings(), accessibility, {}); } };
};

} // namespace

// From every section to every other with the keyboard in the one left, then closed from it as
// the user closes the window; every keystroke of a rename is kept.
TEST(Teardown, LeavingEachSectionAndClosingTheSettingsWindowFromIt)
{
    Stored f;
    for (S from : allCases<S>()) {
        f.windows.openSettingsWindow();
        QPointer<QWidget> window = f.windows.settingsWindow();
        ASSERT_NO_FATAL_FAILURE(activate(window));
        auto* root = window->findChild<SettingsWindow*>();
        // The last turn stays, and the window closes from there.
        for (int turn = 1; turn <= 8; ++turn) {
            const S to = static_cast<S>((static_cast<int>(from) + turn) % 8);
            SCOPED_TRACE(rawValue(from).toStdString() + " to " + rawValue(to).toStdString());
            select(*root, from);
            ASSERT_NO_FATAL_FAILURE(editIn(*root, from));
            select(*root, to);
            EXPECT_EQ(root->selectedSection(), to);
        }
        window->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
    }
    EXPECT_EQ(f.settings().profiles()[0].name.count(u's'), 8);
}

// The panel, its options open and the keyboard in their application search, hidden by Escape,
// by turning to another window or by Start, or still shown; then deleted as the application quits.
TEST(Teardown, PanelHiddenWhileTypingInItsSearch)
{
    enum class Leave { escape, elsewhere, start, quit };
    for (Leave leave : { Leave::escape, Leave::elsewhere, Leave::start, Leave::quit }) {
        SCOPED_TRACE(static_cast<int>(leave));
        Stored f;
        f.settings().setPopoverExpanded(true);
        ::testing::NiceMock<viewtest::FakeEngine> engine;
        auto popup = std::make_unique<PanelPopup>([&](QWidget* parent) {
            auto* panel = new TremlorPopoverView(
                f.settings(), engine, [&] { return std::make_unique<settingstest::ListScanner>(f.apps); }, parent);
            QObject::connect(panel, &TremlorPopoverView::dismissPopoverRequested, [&] { f.windows.hidePanel(); });
            return panel;
        });
        popup->showAt({ 200, 200 });
        ASSERT_NO_FATAL_FAILURE(activate(popup.get()));
        QWidget* search = focusable(popup->findChild<QWidget*>("app-search-field"));
        click(search);
        QTest::keyClicks(search, QStringLiteral("ka"));
        ASSERT_TRUE(search->hasFocus());
        QWidget elsewhere;
        if (leave == Leave::escape) // the first Escape ends the search's edit
            for (int i = 0; i < 2 && popup->isVisible(); ++i)
                QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
        if (leave == Leave::elsewhere)
            kittest::showActive(elsewhere);
        if (leave == Leave::start)
            click(popup->findChild<QWidget*>("start-stop-button"));
        EXPECT_EQ(popup->isVisible(), leave == Leave::quit);
        popup.reset();
        QCoreApplication::processEvents();
    }
}

// Closed from each page with the keyboard on it: no completion.
TEST(Teardown, OnboardingClosedFromEachPage)
{
    Stored f;
    f.accessibility.trusted = false;
    for (int page = 0; page < OnboardingWindow::stepCount; ++page) {
        f.windows.showOnboarding();
        QPointer<QWidget> window = AppWindows::findOnboardingWindow();
        ASSERT_NO_FATAL_FAILURE(activate(window));
        for (int step = 0; step < page; ++step)
            click(window->findChild<QWidget*>("onboarding-primary"));
        focusable(window)->setFocus(Qt::TabFocusReason); // a control of the page, else of its bar
        ASSERT_TRUE(window->isAncestorOf(QApplication::focusWidget())) << page;
        window->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
        EXPECT_FALSE(f.settings().hasCompletedOnboarding());
    }
}
