#include "App/AppWindows.h"
#include "App/PanelPopup.h"
#include "Views/Onboarding/OnboardingWindow.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "views/FakeEngine.h"
#include "views/SettingsTestSupport.h"

// Leaving a section, closing a window or hiding the panel while the keyboard is in one of its
// fields: nothing may reach a widget that is being destroyed (the sanitizer build sees any touch).
using namespace tremlor;
using S = SettingsSection;

namespace {

// Clicks into the window as the user does, on whatever lies at that point of `w` (if any); then
// layouts settle and queued focus requests run, as the event loop does before a frame.
void click(QWidget* w = nullptr, QPoint at = { 4, 8 })
{
    if (w)
        QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), at));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// As a screen reader selects a row: the keyboard stays where it is.
void select(SettingsWindow& window, S section)
{
    window.sidebar()->list()->selectionModel()->setCurrentIndex(
        window.sidebar()->indexOf(section), QItemSelectionModel::ClearAndSelect);
    click();
}

// Clicks into `field` of `root` and types there, or gives its first control the keyboard: the
// first shown widget (no scrolling pane) there that takes the keyboard on a click.
void keyboardInto(QWidget* root, const char* field = nullptr, const char* typed = nullptr)
{
    QWidget* box = field ? root->findChild<QWidget*>(field) : root;
    for (QWidget* w : QList<QWidget*> { box } + box->findChildren<QWidget*>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)
            && !w->inherits("QAbstractScrollArea")) {
            typed ? click(w, { 4, w->height() / 2 }) : w->setFocus(Qt::TabFocusReason);
            break;
        }
    }
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
    ASSERT_TRUE(root->isAncestorOf(QApplication::focusWidget()));
}

// Each section's editable field and what is typed there, in order (none: its first control).
const std::pair<const char*, const char*> edits[] = { {}, { "interval-slider", "42" }, { "apps-search-field", "ka" },
    { "custom-minutes-field", "45" }, { "profile-name", "s" }, { "schedule-start-time", "9" }, {}, {} };

// The windows as the application makes them, over two profiles, two schedule entries, chosen
// applications and a custom duration.
struct Stored : settingstest::Fixture {
    Stored()
    {
        apps = { AppInfo("firefox", "Firefox", {}), AppInfo("org.kde.kate", "Kate", {}) };
        settings().setProfiles({ settingstest::named("Work"), settingstest::named("Home") });
        settings().setScheduleEntries({ { QUuid::createUuid() }, { QUuid::createUuid() } });
        settings().setSelectedAppBundleIDs({ "firefox", "org.kde.kate" });
        settings().setDefaultDurationId(Duration::custom(45).id());
    }
    kittest::MotionOverride reduced { true };
    AppWindows windows { [this] { return new SettingsWindow(context); },
        [this] { return new OnboardingWindow(settings(), accessibility, {}); } };
};

} // namespace

// From every section to every other with the keyboard in the one left, then closed from it as
// the user closes the window, which the next opening replaces.
TEST(Teardown, LeavingEachSectionAndClosingTheSettingsWindowFromIt)
{
    Stored f;
    for (S from : allCases<S>()) {
        f.windows.openSettingsWindow();
        QPointer<QWidget> window = f.windows.settingsWindow();
        ASSERT_NO_FATAL_FAILURE(kittest::showActive(*window));
        auto* root = window->findChild<SettingsWindow*>();
        for (int turn = 1; turn <= 8; ++turn) { // the last turn stays, and the window closes from there
            const S to = static_cast<S>((static_cast<int>(from) + turn) % 8);
            SCOPED_TRACE(rawValue(from).toStdString() + " to " + rawValue(to).toStdString());
            select(*root, from);
            if (from == S::schedule) // the times are in an entry's opened editor
                click(root->findChild<QWidget*>("schedule-entry-disclosure"));
            ASSERT_NO_FATAL_FAILURE(keyboardInto(root->detailView(), edits[int(from)].first, edits[int(from)].second));
            const QPointer<QWidget> left = root->detailView();
            select(*root, to);
            EXPECT_EQ(root->selectedSection(), to);
            EXPECT_EQ(left.isNull(), to != from); // the shown section keeps its view
        }
        window->close();
        EXPECT_EQ(f.windows.settingsWindow(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
    }
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
        ASSERT_NO_FATAL_FAILURE(kittest::showActive(*popup));
        click();
        ASSERT_NO_FATAL_FAILURE(keyboardInto(popup.get(), "app-search-field", "ka"));
        QWidget elsewhere;
        if (leave == Leave::escape) // the first Escape ends the search's edit
            for (int i = 0; i < 2; ++i)
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

// Closed from each page with the keyboard on it (a control of the page, else of its bar), which
// is no completion; the next opening replaces it.
TEST(Teardown, OnboardingClosedFromEachPage)
{
    Stored f;
    f.accessibility.trusted = false;
    for (int page = 0; page < OnboardingWindow::stepCount; ++page) {
        f.windows.showOnboarding();
        QPointer<QWidget> window = AppWindows::findOnboardingWindow();
        ASSERT_NO_FATAL_FAILURE(kittest::showActive(*window));
        for (int step = 0; step < page; ++step)
            click(window->findChild<QWidget*>("onboarding-primary"));
        ASSERT_NO_FATAL_FAILURE(keyboardInto(window)) << page;
        window->close();
        EXPECT_EQ(AppWindows::findOnboardingWindow(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
        EXPECT_FALSE(f.settings().hasCompletedOnboarding());
    }
}
