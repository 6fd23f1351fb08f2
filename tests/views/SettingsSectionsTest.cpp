#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KeyboardWalk.h"
#include "SettingsTestSupport.h"
#include "TextRecorder.h"
#include "ToldToReaders.h"
#include "Views/Settings/AboutSettingsView.h"
#include "Views/Settings/AppChecklistView.h"
#include "Views/Settings/AppsSettingsView.h"
#include "Views/Settings/GeneralSettingsView.h"
#include "Views/Settings/ScheduleEntryRow.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/TimerSettingsView.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/TremlorColor.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace tremlor;
using settingstest::Fixture;
using settingstest::selectSection;
using ::testing::ElementsAre;
using ::testing::Property;
using SettingsSections = settingstest::FixtureTest;

namespace {
template <typename T> T* child(const QWidget& root, const char* name)
{
    T* widget = root.findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Where the switch is heading (its animation's end), i.e. the value it shows.
// A screen reader hears the same through the switch's checked state.
bool switchShowsOn(const kestu::KestuToggleStyle* toggle)
{
    const QVariant end = toggle->toggleSwitch()->animation()->endValue();
    const bool on = end.isValid() ? end.toDouble() > 0.5 : toggle->toggleSwitch()->position() > 0.5;
    EXPECT_EQ(toggle->toggleSwitch()->isChecked(), on) << toggle->objectName().toStdString();
    return on;
}

// Presses Tab until the keyboard reaches `target`, as a keyboard user would.
bool tabTo(QWidget* target)
{
    for (int step = 0; step < 60 && QApplication::focusWidget() != target; ++step)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target->window(), Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

// An assistive tool's Toggle: on a switch, or on a list's row.
void toggleAction(QWidget* control, int row = -1)
{
    QAccessibleInterface* target = QAccessible::queryAccessibleInterface(control);
    if (row >= 0)
        target = target->child(row);
    target->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

// Stands in for the desktop's URL handlers.
class UrlRecorder final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

// The login toggle mirrors the system: a failed change springs back to the real state without
// calling the manager again, and the stored launchAtLogin flag is never read or written.
TEST(GeneralSettings, LoginToggleShowsTheSystemStateAndReturnsToItOnFailure)
{
    // Registered before, the change fails, shown after the click.
    const std::tuple<bool, bool, bool> cases[]
        = { { false, false, true }, { true, false, false }, { false, true, false }, { true, true, true } };
    for (const auto& [registered, fails, shownAfterClick] : cases) {
        Fixture f;
        f.settings().setLaunchAtLogin(!registered);
        f.loginItem.enabled = registered;
        f.loginItem.fails = fails;
        QSignalSpy stored(&f.settings(), &TremlorSettings::launchAtLoginChanged);
        GeneralSettingsView view(f.context);
        auto* toggle = child<kestu::KestuToggleStyle>(view, "launch-at-login-toggle");
        EXPECT_EQ(view.launchAtLoginEnabled(), registered);
        toggle->toggleSwitch()->click();
        EXPECT_EQ(switchShowsOn(toggle), shownAfterClick);
        EXPECT_EQ(f.loginItem.writes, 1);
        EXPECT_EQ(stored.count(), 0);
        EXPECT_EQ(f.settings().launchAtLogin(), !registered);
        // Each time the section is shown it reads the system's state again.
        f.loginItem.enabled = !shownAfterClick;
        view.show();
        EXPECT_EQ(switchShowsOn(toggle), !shownAfterClick);
    }
}

// Every switch stores what it shows, however it is flipped: a click, Space once Tab has reached
// it, or an assistive tool's Toggle action (which emits toggled, never clicked); it then follows a
// change made elsewhere. The checklist's rows, pressed by Toggle or Space, store the choice too.
TEST_F(SettingsSections, SwitchesAndRowsStoreWhatTheyShowHoweverTheyAreFlipped)
{
    f.apps = { AppInfo("org.gnome.Calculator", "Calculator", {}), AppInfo("firefox", "Firefox", {}) };
    s.setSelectedAppBundleIDs({ "gone.app" });
    const std::tuple<SettingsSection, const char*, const char*> cases[] = {
        { SettingsSection::general, "launch-at-login-toggle", nullptr }, // the system's, not a setting
        { SettingsSection::general, "show-in-dock-toggle", "showInDock" },
        { SettingsSection::general, "play-sound-toggle", "playSoundOnToggle" },
        { SettingsSection::mouse, "simulate-keyboard-toggle", "simulateKeyboard" },
        { SettingsSection::mouse, "simulate-clicks-toggle", "simulateClicks" },
        { SettingsSection::mouse, "smart-idle-toggle", "smartIdleEnabled" },
        { SettingsSection::apps, "launch-if-not-running-toggle", "launchIfNotRunning" },
        { SettingsSection::timer, "caffeine-toggle", "caffeineEnabled" },
        { SettingsSection::timer, "countdown-toggle", "showCountdownInMenuBar" },
        { SettingsSection::timer, "notify-expiry-toggle", "notifyOnExpiry" },
    };
    const std::function<void(QAbstractButton*)> ways[] = {
        [](QAbstractButton* control) { QTest::mouseClick(control, Qt::LeftButton); },
        [](QAbstractButton* control) {
            ASSERT_TRUE(tabTo(control));
            QTest::keyClick(control, Qt::Key_Space);
        },
        [](QAbstractButton* control) { toggleAction(control); },
    };
    SettingsWindow window(f.context);
    kittest::showActive(window);
    for (const auto& [section, name, property] : cases) {
        selectSection(window, section);
        const auto stored
            = [&, property = property] { return property ? s.property(property).toBool() : f.loginItem.enabled; };
        auto* toggle = child<kestu::KestuToggleStyle>(*window.detailView(), name);
        for (const auto& flip : ways) {
            const bool before = stored();
            flip(toggle->toggleSwitch());
            EXPECT_EQ(stored(), !before) << name;
            EXPECT_EQ(switchShowsOn(toggle), !before) << name;
        }
        if (property) {
            s.setProperty(property, !stored());
            EXPECT_EQ(switchShowsOn(toggle), stored()) << name;
        }
    }

    selectSection(window, SettingsSection::apps);
    QListView* rows = static_cast<AppsSettingsView*>(window.detailView())->checklist()->list();
    toggleAction(rows, 1);
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "gone.app", "firefox" }));
    ASSERT_TRUE(tabTo(rows));
    QTest::keyClick(rows, Qt::Key_Space);
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "gone.app", "firefox", "org.gnome.Calculator" }));
    toggleAction(rows, 1);
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "gone.app", "org.gnome.Calculator" }));
    EXPECT_EQ(settingstest::heardRows(rows, true), QStringList { "Calculator" });
}

// Keyboard alone: from the sidebar, Tab walks every control of each section in order, each one
// named and showing its focus, with no stop on a form's scroll area.
TEST_F(SettingsSections, TabReachesEveryControlNamedAndShowingFocus)
{
    f.apps = { AppInfo("org.gnome.Calculator", "Calculator", {}) };
    s.setSmartIdleEnabled(true);
    s.setAppSwitchInterval(3);
    const std::pair<SettingsSection, QStringList> sections[] = {
        { SettingsSection::general,
            { "launch-at-login-toggle-switch", "show-in-dock-toggle-switch", "display-mode-picker",
                "play-sound-toggle-switch" } },
        { SettingsSection::mouse,
            { "Move every", "Move every", "Jiggle distance", "Jiggle distance", "pattern-picker",
                "simulate-keyboard-toggle-switch", "simulate-clicks-toggle-switch", "smart-idle-toggle-switch",
                "Idle threshold", "Idle threshold" } },
        { SettingsSection::apps,
            { "apps-search-field", "select-all-button", "deselect-all-button", "apps-list",
                "launch-if-not-running-toggle-switch", "rotation-mode-picker", "switch-interval-stepper" } },
        { SettingsSection::timer,
            { "default-duration-picker", "custom-minutes-field", "set-default-button", "caffeine-toggle-switch",
                "countdown-toggle-switch", "notify-expiry-toggle-switch" } },
        { SettingsSection::advanced,
            { "open-system-settings", "reset-to-defaults", "export-settings", "import-settings" } },
        { SettingsSection::about, { "about-link", "about-feedback-link", "about-website-link" } },
    };
    SettingsWindow window(f.context);
    kittest::showActive(window);
    for (const auto& [section, expected] : sections) {
        selectSection(window, section);
        if (auto* minutes = window.detailView()->findChild<QLineEdit*>(QStringLiteral("custom-minutes-field")))
            QTest::keyClicks(minutes, QStringLiteral("90")); // "Set as Default" takes the keyboard once enabled
        window.sidebar()->list()->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(viewtest::tabStops(window.detailView()), expected);
    }
}

// Return and keypad Enter press the focused push button, as Space does, in every section.
TEST_F(SettingsSections, ReturnPressesTheFocusedButton)
{
    f.apps = { AppInfo("firefox", "Firefox", {}) };
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
    SettingsWindow window(f.context);
    kittest::showActive(window);
    const std::tuple<SettingsSection, const char*, Qt::Key, std::function<bool()>> presses[] = {
        { SettingsSection::apps, "select-all-button", Qt::Key_Return,
            [&] { return s.selectedAppBundleIDs() == QStringList { "firefox" }; } },
        { SettingsSection::apps, "deselect-all-button", Qt::Key_Enter,
            [&] { return s.selectedAppBundleIDs().isEmpty(); } },
        { SettingsSection::timer, "set-default-button", Qt::Key_Return,
            [&] { return s.defaultDurationId() == QStringLiteral("custom_90"); } },
        { SettingsSection::about, "about-feedback-link", Qt::Key_Enter, [&] { return recorder.opened.size() == 1; } },
        { SettingsSection::advanced, "reset-to-defaults", Qt::Key_Return,
            [&] { return window.findChild<QDialog*>(QStringLiteral("reset-alert")) != nullptr; } },
    };
    for (const auto& [section, name, key, pressed] : presses) {
        selectSection(window, section);
        if (auto* minutes = window.detailView()->findChild<QLineEdit*>(QStringLiteral("custom-minutes-field")))
            QTest::keyClicks(minutes, QStringLiteral("90"));
        auto* button = child<QAbstractButton>(*window.detailView(), name);
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_TRUE(pressed()) << name;
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
}

// Each picker writes the setting of the item the user picks by its label, and always shows the
// stored value: a reset's, or none for a custom default duration. The pattern's caption follows.
// A screen reader hears the row's label, a combo box and the chosen item (as its text: Qt 6.4's
// bridge offers no selection of the box's children).
TEST_F(SettingsSections, PickersWriteTheStoreAndFollowOutsideChanges)
{
    const std::tuple<SettingsSection, const char*, const char*, const char*, const char*, const char*, const char*>
        cases[] = {
            { SettingsSection::general, "display-mode-picker", "Display Mode", "menuBarDisplayMode", "Icon + Countdown",
                "iconAndCountdown", "Icon Only" },
            { SettingsSection::mouse, "pattern-picker", "Pattern", "movementPattern", "Circle", "circle", "Bounce" },
            { SettingsSection::apps, "rotation-mode-picker", "Rotation Mode", "rotationMode", "Random", "random",
                "Sequential" },
            { SettingsSection::timer, "default-duration-picker", "Duration", "defaultDurationId", "∞", "inf", "" },
        };
    for (const auto& [section, name, row, key, label, stored, shown] : cases) {
        SettingsWindow window(f.context, section);
        window.show();
        auto* picker = child<FormPicker>(*window.detailView(), name);
        const int index = picker->findText(QString::fromUtf8(label));
        picker->setCurrentIndex(index);
        Q_EMIT picker->activated(index);
        EXPECT_EQ(f.temp.defaults().stringValue(key).value_or(QString()), QLatin1String(stored)) << name;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(picker);
        EXPECT_EQ(viewtest::labelsOf(picker), QStringList { QLatin1String(row) });
        ASSERT_TRUE(spoken->role() == QAccessible::ComboBox && spoken->childCount() == 0 && spoken->textInterface());
        EXPECT_EQ(
            spoken->textInterface()->text(0, spoken->textInterface()->characterCount()), QString::fromUtf8(label));
        EXPECT_TRUE(section != SettingsSection::mouse
            || child<QLabel>(*window.detailView(), "pattern-description")->text() == "Tiny circular arc");
        s.resetToDefaults();
        s.setDefaultDurationId(QStringLiteral("custom_90"));
        EXPECT_EQ(picker->currentText(), QString::fromUtf8(shown)) << name;
    }
}

// The wheel over a picker, the stepper or a time field without the focus belongs to the scrolling
// form: it is passed on and changes no setting. With the focus, the wheel steps the value.
TEST_F(SettingsSections, WheelOverAnUnfocusedPickerScrollsInstead)
{
    s.setProfiles({ settingstest::named("Work"), settingstest::named("Rest") });
    s.setScheduleEntries({ ScheduleSettingsView::newEntry() });
    QSignalSpy writes(&s, &TremlorSettings::objectWillChange);
    const auto wheel = [](QWidget* target) {
        QWheelEvent event(QPointF(4, 4), target->mapToGlobal(QPointF(4, 4)), {}, QPoint(0, -120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    QStringList seen;
    for (SettingsSection section : allCases<SettingsSection>()) {
        SettingsWindow window(f.context, section);
        if (section == SettingsSection::schedule)
            window.detailView()->findChild<ScheduleEntryRow*>()->setExpanded(true);
        for (QWidget* field : window.findChildren<QWidget*>()) {
            const QAccessible::Role role = QAccessible::queryAccessibleInterface(field)->role();
            if (role != QAccessible::ComboBox && role != QAccessible::SpinBox)
                continue;
            EXPECT_EQ(field->focusPolicy(), Qt::StrongFocus) << field->objectName().toStdString();
            for (int step = 0; step < 3; ++step)
                EXPECT_FALSE(wheel(field)) << field->objectName().toStdString();
            seen << field->objectName();
        }
    }
    EXPECT_EQ(writes.count(), 0);
    EXPECT_EQ(seen.size(), 8) << seen.join(u' ').toStdString();

    SettingsWindow window(f.context, SettingsSection::mouse);
    kittest::showActive(window);
    auto* picker = child<FormPicker>(*window.detailView(), "pattern-picker");
    picker->setFocus();
    viewtest::ToldLog told;
    EXPECT_TRUE(wheel(picker));
    EXPECT_NE(s.movementPattern(), MovementPattern::bounce);
    EXPECT_EQ(told.takeLast("text "), "text " + picker->currentText()); // the closed box's new choice
}

// Showing values off a control's grid (an imported threshold of 7 on a step of 5, an interval of
// 0, a switch interval outside 1…10, a custom default) writes nothing back; a user's step does.
TEST_F(SettingsSections, ShowingOffGridValuesWritesNothingBack)
{
    s.setSmartIdleEnabled(true);
    s.setIdleThreshold(7);
    s.setMaxInterval(0);
    s.setJiggleDistance(80);
    s.setAppSwitchInterval(15);
    s.setDefaultDurationId(QStringLiteral("custom_45"));
    QSignalSpy writes(&s, &TremlorSettings::objectWillChange);
    SettingsWindow window(f.context);
    window.show();
    for (SettingsSection section : allCases<SettingsSection>())
        selectSection(window, section);
    selectSection(window, SettingsSection::mouse);
    QCoreApplication::processEvents();
    EXPECT_EQ(writes.count(), 0);

    // A value the user types is held in its slider's range, snaps to its step and is written to
    // its setting; each slider shows a value set elsewhere.
    const std::tuple<const char*, const char*, const char*, double> typedValues[]
        = { { "interval-slider", "maxInterval", "999", 300 }, { "distance-slider", "jiggleDistance", "0", 1 },
              { "idle-threshold-slider", "idleThreshold", "37", 35 },
              { "idle-threshold-slider", "idleThreshold", "7", 10 } };
    for (const auto& [name, property, text, stored] : typedValues) {
        QLineEdit* typed = child<kestu::KestuSlider>(*window.detailView(), name)->label();
        typed->setFocus();
        typed->selectAll();
        QTest::keyClicks(typed, QString::fromLatin1(text));
        QTest::keyClick(typed, Qt::Key_Return);
        EXPECT_EQ(s.property(property).toDouble(), stored) << name;
        s.setProperty(property, 20.0);
        EXPECT_TRUE(typed->text().startsWith(QStringLiteral("20 "))) << name;
    }
    // Smart idle detection shows its threshold only while it is on.
    auto* threshold = child<QWidget>(*window.detailView(), "idle-threshold-slider");
    EXPECT_TRUE(threshold->isVisible());
    s.setSmartIdleEnabled(false);
    EXPECT_FALSE(threshold->isVisible());

    selectSection(window, SettingsSection::apps);
    auto* label = child<QLabel>(*window.detailView(), "switch-interval-label");
    auto* less = child<QAbstractButton>(*window.detailView(), "switch-interval-decrement");
    EXPECT_EQ(label->text(), QStringLiteral("Switch every 15 cycles"));
    EXPECT_FALSE(child<QAbstractButton>(*window.detailView(), "switch-interval-increment")->isEnabled());
    less->click(); // from outside the range to its end, then a step
    less->click();
    EXPECT_EQ(s.appSwitchInterval(), 9);
    s.setAppSwitchInterval(1);
    EXPECT_EQ(label->text(), QStringLiteral("Switch every 1 cycle"));
    EXPECT_FALSE(less->isEnabled());
}

// Select All appends the listed, missing applications after those chosen; Deselect All removes
// only the listed ones; the count includes hidden and uninstalled choices. Each Apps view scans.
TEST(AppChecklist, SelectAllAndDeselectAllKeepOrderAndCountHiddenChoices)
{
    Fixture f;
    f.apps = { AppInfo("org.gnome.Calculator", "Calculator", {}), AppInfo("org.gnome.Calendar", "Calendar", {}),
        AppInfo("firefox", "Firefox", {}), AppInfo("org.kde.kate", "Kate", {}) };
    TremlorSettings& s = f.settings();
    s.setSelectedAppBundleIDs({ "gone.app", "org.gnome.Calendar", "firefox" });
    AppsSettingsView view(f.context);
    AppChecklistView* list = view.checklist();
    auto* count = child<QLabel>(view, "selected-count");

    list->searchField()->replaceText(QStringLiteral("GNOME"));
    EXPECT_FALSE(list->clearButton()->isHidden());
    EXPECT_THAT(list->filteredApps(),
        ElementsAre(Property(&AppInfo::name, QStringLiteral("Calculator")),
            Property(&AppInfo::name, QStringLiteral("Calendar"))));
    child<QAbstractButton>(view, "select-all-button")->click();
    EXPECT_EQ(
        s.selectedAppBundleIDs(), QStringList({ "gone.app", "org.gnome.Calendar", "firefox", "org.gnome.Calculator" }));
    EXPECT_EQ(count->text(), QStringLiteral("4 selected"));
    child<QAbstractButton>(view, "deselect-all-button")->click();
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "gone.app", "firefox" }));
    EXPECT_EQ(count->text(), QStringLiteral("2 selected"));

    list->searchField()->replaceText(QStringLiteral(" "));
    EXPECT_TRUE(list->filteredApps().isEmpty());
    list->searchField()->replaceText(QStringLiteral("kate"));
    list->toggleSelection(list->filteredApps().at(0));
    list->toggleSelection(f.apps.at(2));
    EXPECT_EQ(s.selectedAppBundleIDs(), QStringList({ "gone.app", "org.kde.kate" }));
    list->clearButton()->click();
    EXPECT_EQ(list->filteredApps().size(), 4);
    EXPECT_TRUE(list->clearButton()->isHidden());

    // Each Apps view makes its own scanner and scans once; leaving and coming back scans afresh.
    EXPECT_EQ(f.scans, 1);
    SettingsWindow window(f.context, SettingsSection::apps);
    selectSection(window, SettingsSection::timer);
    selectSection(window, SettingsSection::apps);
    EXPECT_EQ(f.scans, 3);
    EXPECT_EQ(static_cast<AppsSettingsView*>(window.detailView())->apps().size(), 4);
    QCoreApplication::processEvents(); // the search takes the focus from the sidebar once it is shown
    EXPECT_EQ(window.focusWidget(), static_cast<AppsSettingsView*>(window.detailView())->checklist()->searchField());
}

// Each way of pressing a row writes the choice once: a click, Space on the current row, a screen
// reader's Toggle action. Multiple selection removes or appends just that row; single selection has
// no bar, and pressing the chosen row empties the whole choice, another row becomes the only one.
TEST(AppChecklist, EveryWayOfPressingARowWritesTheChoiceOnce)
{
    const QList<AppInfo> apps = { AppInfo("a.one", "One", {}), AppInfo("b.two", "Two", {}) };
    for (const bool multiple : { true, false }) {
        auto ids = std::make_shared<QStringList>(QStringList { "a.one", "gone.app" });
        int writes = 0;
        AppChecklistView view(apps,
            { [ids] { return *ids; }, [ids, &writes](const QStringList& v) { *ids = v, ++writes; } }, multiple,
            kestu::KestuBinding<QString>::of(std::make_shared<QString>()));
        kittest::showActive(view);
        EXPECT_EQ(view.findChild<QAbstractButton*>(QStringLiteral("select-all-button")) != nullptr, multiple);
        QTest::mouseClick(view.list()->viewport(), Qt::LeftButton, {}, QPoint(15, 22)); // the first row's mark
        EXPECT_EQ(*ids, multiple ? QStringList { "gone.app" } : QStringList());
        // Shift+Tab from the search field reaches the list at its first row.
        for (const Qt::Key key : { Qt::Key_Backtab, Qt::Key_Down, Qt::Key_Space })
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(*ids, multiple ? QStringList({ "gone.app", "b.two" }) : QStringList { "b.two" });
        // Only the row with the keyboard reports focused, and only while the list has it.
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(view.list());
        EXPECT_TRUE(rows->child(1)->state().focused && !rows->child(0)->state().focused);
        view.searchField()->setFocus();
        EXPECT_FALSE(rows->child(1)->state().focused);
        viewtest::ToldLog told;
        QAccessible::queryAccessibleInterface(view.list())
            ->child(0)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(*ids, multiple ? QStringList({ "gone.app", "b.two", "a.one" }) : QStringList { "a.one" });
        EXPECT_TRUE(told.take().contains("checked One"));
        EXPECT_EQ(writes, 3);
        EXPECT_EQ(settingstest::heardRows(view.list(), true),
            multiple ? QStringList({ "One", "Two" }) : QStringList { "One" });
    }
}

// Every one-line text of these sections fits where it is drawn. An application's long name and
// identifier show their start, ending in "…" before the row's edge; a screen reader hears them whole.
TEST_F(SettingsSections, OneLineTextsFitOrEndInAnEllipsis)
{
    const QString name
        = QStringLiteral("An application whose name goes on far longer than any row of the list could hold");
    const QString id
        = QStringLiteral("org.example.") + QStringLiteral("subdomain.").repeated(12) + QStringLiteral("app");
    f.apps = { AppInfo(id, name, {}) };
    s.setSmartIdleEnabled(true);
    SettingsWindow window(f.context);
    window.show();
    for (const SettingsSection section : { SettingsSection::general, SettingsSection::mouse, SettingsSection::apps,
             SettingsSection::timer, SettingsSection::advanced, SettingsSection::about }) {
        selectSection(window, section);
        for (const viewtest::TextRecorder::Run& run : viewtest::TextRecorder(window).runs)
            EXPECT_TRUE(run.box.left() >= run.clip.left() - 1 && run.box.right() <= run.clip.right() + 1)
                << rawValue(section).toStdString() << ": " << run.text.toStdString();
    }

    selectSection(window, SettingsSection::apps);
    QListView* list = static_cast<AppsSettingsView*>(window.detailView())->checklist()->list();
    const QRect row
        = list->visualRect(list->model()->index(0, 0)).translated(list->viewport()->mapTo(&window, QPoint()));
    const QList<viewtest::TextRecorder::Run> runs = viewtest::TextRecorder(window).runs;
    for (const QString& whole : { name, id }) {
        const auto drawn = std::find_if(runs.begin(), runs.end(),
            [&whole](const viewtest::TextRecorder::Run& run) { return run.text.startsWith(whole.left(12)); });
        ASSERT_NE(drawn, runs.end()) << whole.toStdString();
        EXPECT_TRUE(drawn->text.endsWith(QChar(0x2026)) && whole.startsWith(drawn->text.chopped(1)))
            << drawn->text.toStdString();
        EXPECT_LE(drawn->box.right(), row.right() - 9);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(list)->child(0)->text(QAccessible::Name), name);
}

// The Apps section is one stack with no gaps: the checklist across the whole pane, a divider,
// then the options, never taller than 200; the list scrolls within what is left.
TEST_F(SettingsSections, AppsSectionStacksTheChecklistADividerAndTheOptions)
{
    for (int i = 0; i < 30; ++i)
        f.apps << AppInfo(QStringLiteral("app.%1").arg(i), QStringLiteral("App %1").arg(i), {});
    s.setSelectedAppBundleIDs({ "app.2" });
    SettingsWindow window(f.context, SettingsSection::apps);
    window.show();
    QWidget* pane = window.detailView();
    const auto frame = [pane](const char* name) {
        QWidget* widget = child<QWidget>(*pane, name);
        return QRect(widget->mapTo(pane, QPoint()), widget->size());
    };
    const QRect list = frame("app-checklist");
    const QRect divider = frame("apps-divider");
    const QRect options = frame("apps-options");
    EXPECT_EQ(list, QRect(0, 0, pane->width(), list.height()));
    EXPECT_EQ(divider, QRect(0, list.bottom() + 1, pane->width(), 1));
    EXPECT_EQ(options, QRect(0, divider.bottom() + 1, pane->width(), pane->height() - divider.bottom() - 1));
    EXPECT_LE(options.height(), 200);
    EXPECT_LE(child<QWidget>(*pane, "apps-options")->maximumHeight(), 200);
    EXPECT_GT(static_cast<AppsSettingsView*>(pane)->checklist()->list()->verticalScrollBar()->maximum(), 0);
}

// The stepper is one Tab stop, a spin button of 1…10 to a screen reader: Up and Down, "+" and "−"
// step it; at an end a key changes nothing and the keyboard stays on it. Its name follows the value.
TEST_F(SettingsSections, StepperAtItsEndsKeepsTheKeyboard)
{
    SettingsWindow window(f.context);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(window));
    selectSection(window, SettingsSection::apps);
    QCoreApplication::processEvents(); // the search field takes the keyboard as the section appears
    auto* stepper = child<QWidget>(*window.detailView(), "switch-interval-stepper");
    ASSERT_TRUE(tabTo(stepper));
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(stepper);
    ASSERT_TRUE(spoken->role() == QAccessible::SpinBox && spoken->valueInterface());
    EXPECT_EQ(spoken->valueInterface()->minimumValue().toInt(), 1);
    EXPECT_EQ(spoken->valueInterface()->maximumValue().toInt(), 10);
    viewtest::ToldLog told;
    // Keys, then the interval stored and the stepper's spoken name.
    const std::tuple<Qt::Key, int, int, const char*> presses[]
        = { { Qt::Key_Up, 11, 10, "Switch every 10 cycles" }, { Qt::Key_Down, 11, 1, "Switch every 1 cycle" },
              { Qt::Key_Plus, 2, 3, "Switch every 3 cycles" }, { Qt::Key_Minus, 1, 2, "Switch every 2 cycles" } };
    for (const auto& [key, count, stored, name] : presses) {
        settingstest::press(key, count);
        EXPECT_EQ(s.appSwitchInterval(), stored);
        EXPECT_EQ(QApplication::focusWidget(), stepper);
        EXPECT_EQ(spoken->text(QAccessible::Name), name);
        EXPECT_EQ(spoken->valueInterface()->currentValue().toInt(), stored);
        EXPECT_EQ(told.takeLast("value "), "value " + QString::number(stored));
    }
    EXPECT_EQ(window.searchText(), QString());
    spoken->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    spoken->valueInterface()->setCurrentValue(12);
    EXPECT_EQ(s.appSwitchInterval(), 10);
}

// A row's running dot and icon are read again when the rows are drawn for a change of the
// caller's values (the choice, the search text): an application that quit loses its dot on
// screen at the next change, and one that started, or changed its icon, shows it.
TEST(AppChecklist, RunningDotAndIconAreReadAgainAtTheNextChange)
{
    QTemporaryDir dir;
    for (const auto& [name, color] : { std::pair { "red.png", Qt::red }, std::pair { "blue.png", Qt::blue } }) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(dir.filePath(QLatin1String(name))));
    }
    const QString entry = dir.filePath(QStringLiteral("editor.desktop"));
    const auto writeEntry = [&](const char* icon) {
        writeFile(entry,
            "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\nIcon=" + dir.filePath(icon).toUtf8() + "\n");
    };
    writeEntry("red.png");
    Fixture f;
    f.apps = { AppInfo("editor", "Editor", entry), AppInfo("viewer", "Viewer", {}) };
    QSet<QString> running { "editor" };
    SettingsWindow window(f.context, SettingsSection::apps);
    AppChecklistView* checklist = static_cast<AppsSettingsView*>(window.detailView())->checklist();
    checklist->setRunningQuery([&running](const AppInfo& app) { return running.contains(app.id()); });
    kittest::showActive(window);
    QListView* list = checklist->list();
    // What the window shows now: the first row's dot and icon, as the screen holds them.
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        const QPoint origin = list->viewport()->mapTo(&window, QPoint());
        const QColor dot = shown.pixelColor(origin + QPoint(row.right() - 13, row.center().y()));
        const QColor icon = shown.pixelColor(origin + QPoint(54, row.center().y() + 1));
        return std::pair { kittest::near(dot, kestu::Color::success().resolve(list)), icon };
    };
    EXPECT_EQ(onScreen(), std::pair(true, QColor(Qt::red)));

    running.clear();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(f.settings().selectedAppBundleIDs(), QStringList { "viewer" });
    EXPECT_EQ(onScreen(), std::pair(false, QColor(Qt::red)));

    running.insert("editor");
    writeEntry("blue.png");
    QTest::keyClicks(checklist->searchField(), QStringLiteral("e"));
    EXPECT_EQ(onScreen(), std::pair(true, QColor(Qt::blue)));
    running.clear();
    f.settings().setSelectedAppBundleIDs({});
    EXPECT_EQ(onScreen().first, false);
}

// Typed minutes: ASCII digits with an optional "+", at least 1, never more than a stored custom
// duration holds; anything else keeps "Set as Default" disabled.
TEST(TimerSettings, CustomMinutesAcceptOnlyPlainPositiveNumbers)
{
    const std::pair<const char*, std::int64_t> accepted[]
        = { { "90", 90 }, { "+15", 15 }, { "0090", 90 }, { "10000000", 10'000'000 } };
    for (const auto& [text, minutes] : accepted)
        EXPECT_EQ(TimerSettingsView::customMinutes(QString::fromUtf8(text)), minutes) << text;
    for (const char* text : { "", "0", "-5", "+", "1.5", "12a", "1e3", " 5", "++5", "\u0663", "\uFF15", "10000001",
             "9223372036854775808", "99999999999999999999999" })
        EXPECT_EQ(TimerSettingsView::customMinutes(QString::fromUtf8(text)), std::nullopt) << text;

    Fixture f;
    TimerSettingsView view(f.context);
    auto* field = child<kestu::KestuTextField>(view, "custom-minutes-field");
    auto* set = child<QAbstractButton>(view, "set-default-button");
    EXPECT_FALSE(set->isEnabled());
    for (const char* refused : { "\u0663", "-5", "1.5", "9223372036854775808" }) {
        field->replaceText(QString::fromUtf8(refused));
        EXPECT_FALSE(set->isEnabled()) << refused;
        set->click();
        EXPECT_EQ(f.settings().defaultDurationId(), QStringLiteral("1h"));
    }
    field->replaceText(QStringLiteral("0090"));
    EXPECT_TRUE(set->isEnabled());
    set->click();
    EXPECT_EQ(f.settings().defaultDurationId(), QStringLiteral("custom_90"));
    EXPECT_EQ(field->text(), QStringLiteral("0090"));
}

// "Set as Default" wears the forms' default button style, in either appearance: the tertiary
// surface, never the accent.
TEST(TimerSettings, SetAsDefaultUsesTheDefaultButtonStyle)
{
    Fixture f;
    for (const bool dark : { false, true }) {
        TimerSettingsView view(f.context);
        view.setPalette(kittest::palette(dark));
        view.show();
        child<kestu::KestuTextField>(view, "custom-minutes-field")->replaceText(QStringLiteral("90"));
        auto* button = child<QAbstractButton>(view, "set-default-button");
        ASSERT_TRUE(button->isEnabled());
        const QColor fill = kittest::render(button).pixelColor(4, button->height() / 2);
        EXPECT_TRUE(kittest::near(fill, kestu::Color::surfaceTertiary().resolve(button))) << dark;
        EXPECT_FALSE(kittest::near(fill, Color::accent(), 40)) << dark;
    }
}

// The version line and the copyright year of the clock, without grouping; the tiles open their
// addresses.
TEST(AboutSettings, ShowsTheClocksYearAndOpensItsLinks)
{
    Fixture f;
    for (const int year : { 2026, 12026 }) {
        f.clock.setNow(QDateTime(QDate(year, 1, 1), QTime(0, 0)));
        AboutSettingsView about(f.context);
        EXPECT_TRUE(child<QLabel>(about, "about-copyright")->text().contains(QString::number(year)));
    }
    QCoreApplication::setApplicationVersion(QStringLiteral("2.1"));
    AboutSettingsView view(f.context);
    EXPECT_EQ(child<QLabel>(view, "about-version")->text(), QStringLiteral("Version 2.1 (1)"));
    QCoreApplication::setApplicationVersion(QString());

    UrlRecorder recorder;
    const QStringList schemes { "mailto", "https" };
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    child<QAbstractButton>(view, "about-feedback-link")->click();
    child<QAbstractButton>(view, "about-website-link")->click();
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(recorder.opened, QList<QUrl>({ AboutSettingsView::feedbackUrl(), AboutSettingsView::websiteUrl() }));
}

#include "SettingsSectionsTest.moc"
