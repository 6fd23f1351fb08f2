#include "Platform/Json.h"
#include "Views/Popover/DisclosureToggle.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "views/FakeEngine.h"
#include "views/KeyboardWalk.h"
#include "views/SettingsTestSupport.h"
#include "views/ToldToReaders.h"

#include <QAccessible>
#include <QComboBox>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace tremlor;

// From the control Tab reaches: Return presses a focused push button and chooses in an open list,
// elsewhere it starts. What is stored and where the keyboard goes decide what the next key does.
TEST(PanelKeyboard, ReturnAndSpacePressTheFocusedControlAndTheKeyboardStaysNearby)
{
    kittest::MotionOverride reduced(true);
    // Typed where the keyboard is: an open list or menu, else the focused control.
    const auto keys = [](QList<Qt::Key> list) {
        return [list](QWidget*) {
            for (const Qt::Key key : list) {
                QWidget* popup = QApplication::activePopupWidget();
                QTest::keyClick(
                    popup ? (popup->focusWidget() ? popup->focusWidget() : popup) : QApplication::focusWidget(), key);
            }
        };
    };
    const auto enter = keys({ Qt::Key_Return });
    const auto keypadEnter = [](QWidget* control) { QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier); };
    const auto wheel = [](QWidget* box) { // down and up again over the box, which has the keyboard
        for (const int delta : { -120, 120 }) {
            QWheelEvent turn({ 4, 4 }, box->mapToGlobal(QPointF(4, 4)), {}, { 0, delta }, {}, {}, {}, false);
            QApplication::sendEvent(box, &turn);
        }
    };
    const struct {
        const char* control;
        bool expanded;
        std::function<void(QWidget*)> press;
        const char* outcome;
    } rows[] = {
        { "popover", false, enter, "started for 1h, dismissed, keys on popover" },
        { "duration-chip-1h", false, keys({ Qt::Key_Right, Qt::Key_Return }),
            "started for 2h, dismissed, keys on duration-chip-2h" },
        { "duration-chip-1h", false, keys({ Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Left }),
            "chose inf, keys on duration-chip-inf" },
        { "duration-chip-1h", false, keys({ Qt::Key_4 }), "chose 2h, keys on duration-chip-2h" },
        { "start-stop-button", false, keys({ Qt::Key_4, Qt::Key_Backtab }), "chose 2h, keys on duration-chip-2h" },
        { "start-stop-button", true, keypadEnter, "started for 1h, dismissed, collapsed, keys on start-stop-button" },
        { "Interval", true, enter, "started for 1h, dismissed, keys on Interval" },
        { "Search apps", true, enter, "started for 1h, dismissed, keys on Search apps" },
        { "settings-button", false, keypadEnter, "settings, keys on settings-button" },
        { "quit-button", false, enter, "quit, keys on quit-button" },
        { "profile-cycle-button", false, enter, "profile B, applied, keys on profile-cycle-button" },
        { "disclosure-toggle", true, enter, "collapsed, keys on disclosure-toggle" },
        { "compact-apps-summary", false, enter, "expanded, keys on Interval" },
        { "compact-apps-summary", false, keys({ Qt::Key_Space, Qt::Key_Space }), "expanded, keys on Interval" },
        { "profile-picker", true, keys({ Qt::Key_Space, Qt::Key_Down, Qt::Key_Return }),
            "profile B, applied, keys on profile-picker" },
        { "profile-picker", true, keys({ Qt::Key_Down, Qt::Key_Up, Qt::Key_B }), "keys on profile-picker" },
        { "profile-picker", true, wheel, "keys on profile-picker" },
        { "rotation-menu", true,
            [&](QWidget* button) {
                viewtest::whenMenuOpens(button, keys({ Qt::Key_Down, Qt::Key_Down, Qt::Key_Return }));
                QTest::keyClick(button, Qt::Key_Return);
            },
            "Random, keys on rotation-menu" },
        { "Search apps", true,
            [](QWidget* field) {
                kittest::doAction(field->window()->findChild<DisclosureToggle*>());
                EXPECT_TRUE(QTest::qWaitFor([field] { return !field->isVisible(); }, 1000));
            },
            "collapsed, keys on disclosure-toggle" },
    };
    viewtest::ToldLog told;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        settingstest::Fixture f;
        TremlorSettings& settings = f.settings();
        f.apps = { AppInfo("org.example.Firefox", "Firefox", {}), AppInfo("org.example.Mail", "Mail", {}) };
        const QList<Profile> profiles { settingstest::named("A"), settingstest::named("B") };
        settings.setProfiles(profiles);
        settings.setActiveProfileId(json::uuidText(profiles[0].id));
        settings.setSelectedAppBundleIDs({ QStringLiteral("org.example.Mail") });
        settings.setMaxInterval(300); // applying a profile (interval 30, no applications) replaces both
        settings.setPopoverExpanded(row.expanded);
        ::testing::NiceMock<viewtest::FakeEngine> engine;
        TremlorPopoverView panel(settings, engine, f.context.makeAppScanner);
        kittest::showActive(panel);
        if (row.control == QLatin1String("popover"))
            panel.setFocus(); // a click on the panel's background
        for (int tabs = 0; tabs < 20 && viewtest::stopName(QApplication::focusWidget()) != row.control; ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* control = QApplication::focusWidget();
        ASSERT_EQ(viewtest::stopName(control), row.control);
        QSignalSpy dismissed(&panel, &TremlorPopoverView::dismissPopoverRequested);
        QSignalSpy settingsOpened(&panel, &TremlorPopoverView::openSettingsRequested);
        QSignalSpy quit(&panel, &TremlorPopoverView::quitRequested);
        told.take();

        row.press(control);
        QCoreApplication::processEvents(); // a chosen profile is applied on the next turn
        if (QApplication::activeWindow() != &panel) // offscreen, the window that had a list is active again
            QApplication::setActiveWindow(&panel);
        QStringList outcome;
        for (const auto& [happened, what] :
            { std::pair { engine.active, "started for " + settings.lastUsedDurationId() },
                { !engine.active && panel.selectedDuration() != Duration::hours1(),
                    "chose " + panel.selectedDuration().id() },
                { !dismissed.isEmpty(), "dismissed" }, { !settingsOpened.isEmpty(), "settings" },
                { !quit.isEmpty(), "quit" },
                { settings.activeProfileId() == json::uuidText(profiles[1].id), "profile B" },
                { settings.maxInterval() != 300 || settings.selectedAppBundleIDs().isEmpty(), "applied" },
                { settings.popoverExpanded() != row.expanded, row.expanded ? "collapsed" : "expanded" },
                { settings.rotationMode() == RotationMode::random, "Random" } })
            if (happened)
                outcome << what;
        QWidget* focus = QApplication::focusWidget();
        outcome << "keys on " + (focus ? viewtest::stopName(focus) : QStringLiteral("nothing"));
        EXPECT_EQ(outcome.join(", ").toStdString(), row.outcome);

        // Screen readers hear the profile box by its label, with the chosen item as its text,
        // and the toggle's state as it flips.
        auto* box = panel.findChild<QComboBox*>("profile-picker");
        EXPECT_EQ(viewtest::labelsOf(box), QStringList { "Profile" });
        QAccessibleTextInterface* value = QAccessible::queryAccessibleInterface(box)->textInterface();
        EXPECT_EQ(value ? value->text(0, value->characterCount()) : QString(), box->currentText());
        const QAccessible::State toggle = QAccessible::queryAccessibleInterface(panel.disclosureToggle())->state();
        EXPECT_TRUE(toggle.expandable && toggle.expanded == settings.popoverExpanded());
        EXPECT_EQ(told.take().filter("expanded Show ").size(), settings.popoverExpanded() != row.expanded ? 1 : 0);
    }
}
