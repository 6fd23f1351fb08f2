#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "Platform/Json.h"
#include "Views/Popover/ActivityRing.h"
#include "Views/Popover/CompactAppSummary.h"
#include "Views/Popover/DisclosureToggle.h"
#include "Views/Popover/DurationPickerView.h"
#include "Views/Popover/FooterIconButton.h"
#include "Views/Popover/PopoverExpandedContent.h"
#include "Views/Popover/SectionReveal.h"
#include "Views/Popover/StatusHeaderView.h"
#include "Views/Popover/TremlorPopoverView.h"
#include "views/FakeEngine.h"
#include "views/KeyboardWalk.h"
#include "views/SettingsTestSupport.h"
#include "views/TextRecorder.h"

#include <QAccessible>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVariantAnimation>

using namespace tremlor;

namespace {

TremlorPopoverView::AppScannerFactory someApps()
{
    return [] {
        QList<AppInfo> apps;
        for (const QString name : { "Firefox", "Mail", "Terminal", "Text Editor" })
            apps << AppInfo("org.example." + QString(name).remove(' '), name, QString());
        return std::make_unique<settingstest::ListScanner>(apps);
    };
}

class PanelTest : public ::testing::Test {
protected:
    std::unique_ptr<TremlorPopoverView> makePanel()
    {
        return std::make_unique<TremlorPopoverView>(temp.settings(), engine, nullptr); // nothing installed
    }

    kittest::MotionOverride reduced { true };
    TempDefaults temp;
    ::testing::NiceMock<viewtest::FakeEngine> engine;
};

// Lets nested layouts settle, as the event loop does before a frame.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void click(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace

// Start and stop through the button and through Return: what each records, closes and hides.
TEST_F(PanelTest, StartAndStopThroughTheButtonAndReturn)
{
    TremlorSettings& settings = temp.settings();
    settings.setPopoverExpanded(true);
    auto panel = makePanel();
    kittest::showActive(*panel);
    // The keyboard starts on the chosen chip, not on the first control of the options.
    EXPECT_EQ(QApplication::focusWidget(), panel->durationPicker()->chips()[2]);
    QSignalSpy dismissed(panel.get(), &TremlorPopoverView::dismissPopoverRequested);
    panel->setSelectedDuration(Duration::minutes30());
    EXPECT_EQ(panel->startStopButton()->accessibleName(), QStringLiteral("Start Tremlor for 30 minutes"));

    EXPECT_CALL(engine, start(Duration::minutes30()));
    click(panel->findChild<kestu::KestuButton*>(QStringLiteral("start-stop-button")));
    EXPECT_EQ(settings.lastUsedDurationId(), QStringLiteral("30m"));
    EXPECT_FALSE(settings.popoverExpanded());
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_EQ(std::ranges::count_if(panel->findChildren<kestu::KestuButton*>(), &QWidget::isVisible), 1);
    auto* stop = panel->findChild<kestu::KestuButton*>(QStringLiteral("start-stop-button"));
    EXPECT_EQ(stop->text(), QStringLiteral("Stop"));
    EXPECT_EQ(stop->accessibleName(), QStringLiteral("Stop Tremlor"));

    settings.setLastUsedDurationId(QStringLiteral("2h"));
    EXPECT_CALL(engine, stop(false));
    click(stop);
    EXPECT_EQ(settings.lastUsedDurationId(), QStringLiteral("2h"));
    EXPECT_EQ(dismissed.count(), 2);
    ::testing::Mock::VerifyAndClearExpectations(&engine);

    // With nothing focused, Return starts without closing the options, and stops without hiding
    // the panel; on Stop it is a click on Stop.
    panel->setFocus();
    settings.setPopoverExpanded(true);
    panel->setSelectedDuration(Duration::indefinite());
    EXPECT_CALL(engine, start(Duration::indefinite()));
    QTest::keyClick(panel.get(), Qt::Key_Return);
    EXPECT_TRUE(settings.popoverExpanded());
    EXPECT_EQ(settings.lastUsedDurationId(), QStringLiteral("inf"));
    EXPECT_EQ(dismissed.count(), 3);
    EXPECT_CALL(engine, stop(false)).Times(2);
    QTest::keyClick(panel.get(), Qt::Key_Return);
    EXPECT_EQ(dismissed.count(), 3);
    EXPECT_EQ(panel->startStopButton()->text(), QStringLiteral("Start"));
    engine.setActive(true);
    panel->startStopButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(panel->startStopButton(), Qt::Key_Return);
    EXPECT_EQ(dismissed.count(), 4);
}

// The duration the panel opens with: the last one used, else the default, else one hour, each
// taken when it names a preset or a valid custom length. A custom length checks no chip, Start
// names it and runs for it.
TEST_F(PanelTest, InitialDurationRule)
{
    const struct {
        const char *lastUsed, *defaultId;
        Duration expected;
        const char* spoken;
    } rows[] = {
        { "", "4h", Duration::hours4(), "4 hours" },
        { "30m", "4h", Duration::minutes30(), "30 minutes" },
        { "", "", Duration::hours1(), "1 hour" },
        { "", "custom_90", Duration::custom(90), "90 minutes" },
        { "custom_45", "custom_90", Duration::custom(45), "45 minutes" },
        { "custom_1", "2h", Duration::custom(1), "1 minute" },
        { "custom_0", "2h", Duration::hours2(), "2 hours" },
        { "custom_090", "custom_x", Duration::hours1(), "1 hour" },
        { "1H", "inf", Duration::indefinite(), "indefinite" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.lastUsed) + "/" + row.defaultId);
        temp.settings().setLastUsedDurationId(QString::fromUtf8(row.lastUsed));
        temp.settings().setDefaultDurationId(QString::fromUtf8(row.defaultId));
        engine.setActive(false);
        auto panel = makePanel();
        kittest::showActive(*panel);
        EXPECT_EQ(panel->selectedDuration(), row.expected);
        QStringList checked;
        for (DurationChip* chip : panel->durationPicker()->chips())
            if (chip->isChecked())
                checked << chip->duration().id();
        const bool custom = row.expected.kind() == Duration::Kind::custom;
        EXPECT_EQ(checked, custom ? QStringList() : QStringList { row.expected.id() });
        EXPECT_EQ(panel->startStopButton()->accessibleName(), QStringLiteral("Start Tremlor for ") + row.spoken);
        // The keyboard, and so the screen reader, starts on the chosen chip, else on Start.
        EXPECT_EQ(viewtest::stopName(QApplication::focusWidget()),
            custom ? QStringLiteral("start-stop-button") : "duration-chip-" + row.expected.id());
        EXPECT_CALL(engine, start(row.expected));
        click(panel->startStopButton());
        EXPECT_EQ(temp.settings().lastUsedDurationId(), row.expected.id());
    }
}

// A panel made earlier opens with a default set meanwhile, until a duration is chosen in it.
TEST_F(PanelTest, OpensWithTheDefaultSetMeanwhileUntilAChoice)
{
    auto panel = makePanel();
    kittest::showActive(*panel);
    EXPECT_EQ(panel->selectedDuration(), Duration::hours1());
    for (const auto& [defaultId, chip, expected] : { std::tuple { "custom_90", -1, Duration::custom(90) },
             std::tuple { "4h", 1, Duration::minutes30() }, std::tuple { "8h", -1, Duration::minutes30() } }) {
        panel->hide();
        temp.settings().setDefaultDurationId(QString::fromLatin1(defaultId));
        kittest::showActive(*panel);
        if (chip >= 0)
            click(panel->durationPicker()->chips()[chip]);
        EXPECT_EQ(panel->selectedDuration(), expected) << defaultId;
    }
}

// A chip tap selects its duration (one chip at a time); a custom duration selects no chip.
TEST_F(PanelTest, ChipSelection)
{
    auto panel = makePanel();
    kittest::showActive(*panel);
    const auto& chips = panel->durationPicker()->chips();
    ASSERT_EQ(chips.size(), 7);
    click(chips[1]);
    EXPECT_EQ(panel->selectedDuration(), Duration::minutes30());
    EXPECT_TRUE(chips[1]->isChecked());
    EXPECT_FALSE(panel->durationPicker()->isPulsing()); // reduced motion
    panel->setSelectedDuration(Duration::custom(45));
    for (DurationChip* chip : chips)
        EXPECT_FALSE(chip->isChecked());
    // Return on a chip starts with that chip's length.
    chips[3]->setFocus(Qt::TabFocusReason);
    EXPECT_CALL(engine, start(Duration::hours2()));
    QTest::keyClick(chips[3], Qt::Key_Return);
    engine.setActive(false);

    // With motion, the chosen chip pulses and springs back; with reduced motion it never grows.
    kestu::setReducedMotionOverride(false);
    click(chips[4]);
    EXPECT_TRUE(panel->durationPicker()->isPulsing());
    EXPECT_LT(chips[4]->selectedness(), 1.0); // the row's spring is under way
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->durationPicker()->isPulsing(); }, 1000));
    QTest::keyClick(panel.get(), Qt::Key_6); // digits: at once, no pulse
    EXPECT_EQ(chips[5]->selectedness(), 1.0);
    EXPECT_FALSE(panel->durationPicker()->isPulsing());
}

// A click, the keyboard and an assistive tool's Toggle each make their chip's duration the one
// Start runs for, with exactly that chip checked, a radio button; choosing the chosen chip again
// keeps it.
TEST_F(PanelTest, EveryWayOfChoosingAChipSetsWhatStartRuns)
{
    auto panel = makePanel();
    kittest::showActive(*panel);
    const auto& chips = panel->durationPicker()->chips();
    const std::pair<const char*, std::function<void(DurationChip*)>> ways[] = {
        { "mouse", [](DurationChip* chip) { QTest::mouseClick(chip, Qt::LeftButton, {}, chip->rect().center()); } },
        { "keyboard", // Tab into the row, the arrows along it, Space
            [&](DurationChip* chip) {
                panel->setFocus();
                QTest::keyClick(panel.get(), Qt::Key_Tab);
                for (int keys = 0; keys < 7 && QApplication::focusWidget() != chip; ++keys)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
                ASSERT_EQ(QApplication::focusWidget(), chip);
                QTest::keyClick(chip, Qt::Key_Space);
            } },
        { "toggle action",
            [](DurationChip* chip) {
                QAccessible::queryAccessibleInterface(chip)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            } },
    };
    for (const auto& [name, choose] : ways) {
        panel->setSelectedDuration(Duration::custom(90)); // no chip checked
        for (const int index : { 3, 3, 1 }) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(index));
            choose(chips[index]);
            const Duration chosen = chips[index]->duration();
            EXPECT_EQ(panel->selectedDuration(), chosen);
            QStringList checked;
            for (DurationChip* chip : chips)
                if (chip->isChecked())
                    checked << chip->duration().id();
            EXPECT_EQ(checked, QStringList { chosen.id() });
            EXPECT_EQ(QAccessible::queryAccessibleInterface(chips[index])->role(), QAccessible::RadioButton);
            EXPECT_EQ(panel->startStopButton()->accessibleName(),
                QStringLiteral("Start Tremlor for ") + chosen.accessibleLabel());
        }
    }
    EXPECT_CALL(engine, start(Duration::minutes30()));
    click(panel->startStopButton());
    EXPECT_EQ(temp.settings().lastUsedDurationId(), QStringLiteral("30m"));
}

// Twelve points from what the status block draws (the ring while idle, the title under it
// during a session) to the chips' capsules, in every state and back to idle.
TEST_F(PanelTest, StatusBlockEndsTwelvePointsAboveTheChips)
{
    auto panel = makePanel();
    kittest::showActive(*panel);
    const ActivityRing* ring = panel->statusHeader()->ring();
    const QWidget* title = panel->statusHeader()->titleBlock();
    const DurationChip* chip = panel->durationPicker()->chips().first();
    const struct {
        const char* name;
        bool active, paused;
    } states[] = { { "idle", false, false }, { "running", true, false }, { "paused", true, true },
        { "stopped", false, false } };
    for (const auto& state : states) {
        SCOPED_TRACE(state.name);
        engine.setActive(state.active);
        engine.setPaused(state.paused);
        engine.tick(600, 0.5, QStringLiteral("10:00"));
        settle();
        ASSERT_EQ(title->isVisible(), state.active);
        const int drawnBottom = state.active
            ? title->mapTo(panel.get(), QPoint(0, title->height())).y()
            : ring->mapTo(panel.get(), QPoint(0, ring->height() - ActivityRing::bounceMargin)).y();
        EXPECT_EQ(chip->mapTo(panel.get(), QPoint(0, DurationChip::pulseMargin)).y() - drawnBottom, 12);
    }
}

// An application's, a profile's and the next application's name too long for their line show
// their start and end in "…", never cut mid-letter.
TEST_F(PanelTest, LongNamesEndInAnEllipsis)
{
    const QString app = QStringLiteral("A Very Long Application Name That Cannot Fit In The Row");
    const QString profileName = QStringLiteral("Standup meeting profile for the quarterly review");
    TremlorSettings& settings = temp.settings();
    Profile profile = settings.captureAsProfile(profileName);
    settings.setProfiles({ profile });
    settings.setActiveProfileId(json::uuidText(profile.id));
    settings.setSelectedAppBundleIDs({ QStringLiteral("org.example.long") });
    settings.setPopoverExpanded(true);
    TremlorPopoverView panel(settings, engine, [app] {
        return std::make_unique<settingstest::ListScanner>(QList { AppInfo("org.example.long", app, QString()) });
    });
    kittest::showActive(panel);
    panel.statusHeader()->setState({ true, false, QStringLiteral("45:00"), app, 0.25, false, 2700 });
    settle();

    QStringList drawn;
    for (const viewtest::TextRecorder::Run& run : viewtest::TextRecorder(panel).runs)
        drawn << run.text;
    for (const QString& whole : { app, profileName, QStringLiteral("Next: ") + app }) {
        SCOPED_TRACE(whole.toStdString());
        EXPECT_FALSE(drawn.contains(whole));
        EXPECT_TRUE(std::ranges::any_of(drawn, [&](const QString& text) {
            return text.size() > 8 && text.endsWith(QChar(0x2026)) && whole.startsWith(text.chopped(1));
        })) << drawn.join(QStringLiteral(" | ")).toStdString();
    }
}

// Digits pick a chip and Return starts, but only when no text field has the focus: typed into
// a field, they reach the field.
TEST_F(PanelTest, DigitsAndReturnStayInTextFields)
{
    auto panel = makePanel();
    auto* field = new QLineEdit(panel.get());
    kittest::showActive(*panel);
    QSignalSpy settingsOpened(panel.get(), &TremlorPopoverView::openSettingsRequested);
    QSignalSpy quit(panel.get(), &TremlorPopoverView::quitRequested);

    QTest::keyClick(panel.get(), Qt::Key_7);
    EXPECT_EQ(panel->selectedDuration(), Duration::indefinite());
    QTest::keyClick(panel.get(), Qt::Key_1);
    EXPECT_EQ(panel->selectedDuration(), Duration::minutes15());

    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_CALL(engine, start(::testing::_)).Times(0);
    QTest::keyClicks(field, QStringLiteral("3"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("3"));
    EXPECT_EQ(panel->selectedDuration(), Duration::minutes15());

    // The modified shortcuts still act from a field.
    QTest::keyClick(field, Qt::Key_Comma, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(settingsOpened.count(), 1);
    EXPECT_EQ(quit.count(), 1);
}

// The toggle writes popoverExpanded at once (it outlives the panel) and follows other writers;
// the options open and close animated unless motion is reduced.
TEST_F(PanelTest, ExpandedStateIsPersisted)
{
    temp.settings().setPopoverExpanded(true);
    {
        auto panel = makePanel();
        kittest::showActive(*panel);
        DisclosureToggle* toggle = panel->disclosureToggle();
        // Anywhere on the row, up to its trailing edge.
        QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(toggle->width() - 2, toggle->height() / 2));
        EXPECT_FALSE(temp.settings().popoverExpanded());
        EXPECT_EQ(toggle->accessibleName(), QStringLiteral("Show more options"));
        temp.settings().setPopoverExpanded(true);
        EXPECT_EQ(toggle->labelText(), QStringLiteral("Fewer options"));
        EXPECT_EQ(toggle->chevronAngle(), 90.0); // pointing down
        click(toggle);
    }
    temp.reopen();
    EXPECT_FALSE(temp.settings().popoverExpanded());
    TremlorPopoverView panel(temp.settings(), engine, someApps());
    kittest::showActive(panel);

    // Closed with nothing chosen: nothing below the toggle. Chosen applications show in the
    // summary in the installed order (those not installed are left out); a tap expands.
    EXPECT_FALSE(panel.expandedReveal()->isVisible());
    EXPECT_FALSE(panel.summaryReveal()->isVisible());
    settle();
    const int closedHeight = panel.height();
    temp.settings().setSelectedAppBundleIDs(
        { QStringLiteral("org.example.Terminal"), QStringLiteral("gone.App"), QStringLiteral("org.example.Firefox") });
    ASSERT_TRUE(panel.summaryReveal()->isVisible());
    QStringList shown;
    for (const AppInfo& app : panel.compactAppsSummary()->selectedApps())
        shown << app.name();
    EXPECT_EQ(shown, QStringList({ QStringLiteral("Firefox"), QStringLiteral("Terminal") }));
    click(panel.compactAppsSummary());
    EXPECT_TRUE(temp.settings().popoverExpanded());
    EXPECT_TRUE(panel.expandedReveal()->isVisible());
    EXPECT_FALSE(panel.summaryReveal()->isVisible());
    EXPECT_EQ(panel.expandedContent()->installedApps().size(), 4);

    // With reduced motion the options go at once; with motion they grow in with the spring, the
    // panel's height following.
    temp.settings().setPopoverExpanded(false);
    EXPECT_EQ(panel.expandedReveal()->presence(), 0.0);
    EXPECT_FALSE(panel.expandedReveal()->isVisible());
    kestu::setReducedMotionOverride(false);
    temp.settings().setPopoverExpanded(true);
    QVariantAnimation* spring = panel.expandedReveal()->animation();
    EXPECT_EQ(spring->state(), QAbstractAnimation::Running);
    EXPECT_LT(panel.expandedReveal()->presence(), 1.0);
    spring->setCurrentTime(spring->duration()); // the end, without waiting for it
    EXPECT_EQ(panel.expandedReveal()->presence(), 1.0);
    settle();
    EXPECT_GT(panel.height(), closedHeight + 100);
}

// Profile cycling: next after the active one; a stale or lower-case id starts at the first.
TEST_F(PanelTest, ProfileCycle)
{
    TremlorSettings& settings = temp.settings();
    auto panel = makePanel();
    kittest::showActive(*panel);
    EXPECT_FALSE(panel->profileCycleButton()->isVisible());
    panel->cycleToNextProfile(); // nothing to cycle
    EXPECT_TRUE(settings.activeProfileId().isEmpty());

    QList<Profile> profiles;
    const Duration durations[] = { Duration::minutes15(), Duration::hours2(), Duration::indefinite() };
    for (int i = 0; i < 3; ++i) {
        Profile p = settings.captureAsProfile(QStringLiteral("P%1").arg(i));
        p.duration = durations[i];
        p.maxInterval = 10 + i;
        profiles << p;
    }
    settings.setProfiles(profiles);
    EXPECT_TRUE(panel->profileCycleButton()->isVisible());
    const auto id = [&](int i) { return json::uuidText(profiles[i].id); };

    const std::pair<QString, int> rows[] = { { id(1), 2 }, { id(2), 0 }, { QString(), 0 }, { id(1).toLower(), 0 },
        { QStringLiteral("00000000-0000-0000-0000-000000000000"), 0 } };
    for (const auto& [active, expected] : rows) {
        settings.setActiveProfileId(active);
        click(panel->profileCycleButton());
        EXPECT_EQ(settings.activeProfileId(), id(expected));
        EXPECT_EQ(settings.maxInterval(), 10 + expected);
        EXPECT_EQ(panel->selectedDuration(), durations[expected]);
    }
    EXPECT_EQ(panel->profileCycleAngle(), 0.0); // reduced motion: no tilt
    kestu::setReducedMotionOverride(false); // with motion the icon tilts and springs back
    click(panel->profileCycleButton());
    EXPECT_EQ(panel->profileCycleAngle(), 15.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->profileCycleAngle() == 0.0; }, 1000));
}

// The header and the glyph follow the engine's announcements: running, paused, without an end.
TEST_F(PanelTest, HeaderAndGlyphFollowTheEngine)
{
    auto panel = makePanel();
    panel->show();
    engine.setActive(true);
    const struct {
        bool paused, indefinite;
        const char *text, *glyph;
    } states[] = { { false, false, "42:17", "tremlor-glyph-active" }, { true, false, "0:42", "tremlor-glyph-paused" },
        { false, true, "∞", "tremlor-glyph-active" } };
    for (const auto& s : states) {
        engine.indefinite = s.indefinite;
        engine.setPaused(s.paused);
        engine.tick(42, 0.5, QString::fromUtf8(s.text));
        settle();
        EXPECT_EQ(panel->statusHeader()->ringText(), QString::fromUtf8(s.text));
        EXPECT_EQ(panel->popoverGlyphName(), QLatin1String(s.glyph));
    }
}

// Keyboard alone: Tab visits every control of the filled panel in order, each named and showing
// its focus, with no stop on the list's frame; Space then presses what Tab reached and the store
// keeps it. Shift+Tab into a long list scrolls the row reached into sight.
TEST_F(PanelTest, KeyboardAloneReachesAndPressesEveryControl)
{
    TremlorSettings& settings = temp.settings();
    settings.setProfiles({ settingstest::named(QStringLiteral("Focus")) });
    settings.setPopoverExpanded(true);
    QList<AppInfo> apps;
    for (int i = 0; i < 12; ++i)
        apps << AppInfo(QStringLiteral("org.example.App%1").arg(i), QStringLiteral("App %1").arg(i), QString());
    TremlorPopoverView panel(
        temp.settings(), engine, [&] { return std::make_unique<settingstest::ListScanner>(apps); });
    kittest::showActive(panel);
    settle();
    panel.setFocus(); // from the top
    QStringList expected { "duration-chip-1h" }; // one stop for the row: the chosen chip
    expected << "start-stop-button"
             << "disclosure-toggle"
             << "Interval"
             << "Interval"
             << "profile-picker"
             << "rotation-menu"
             << "Search apps";
    for (const AppInfo& app : apps)
        expected << QStringLiteral("app-row-") + app.bundleIdentifier();
    expected << "profile-cycle-button"
             << "settings-button"
             << "quit-button";
    EXPECT_EQ(viewtest::tabStops(&panel), expected);
    // Start's fill and the rings wear the desktop's highlight, not a colour of the panel's own.
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    EXPECT_EQ(panel.startStopButton()->fillColor(), highlight);
    for (QWidget* control :
        { static_cast<QWidget*>(panel.disclosureToggle()), panel.findChild<QWidget*>("rotation-menu") }) {
        control->setFocus(Qt::TabFocusReason);
        const QImage ring = kittest::render(control);
        EXPECT_NEAR(ring.pixelColor(1, ring.height() / 2).hsvHueF(), highlight.hsvHueF(), 0.02)
            << viewtest::stopName(control).toStdString();
    }

    // The last row, out of sight once the list is scrolled back up, comes into sight when
    // Shift+Tab reaches it.
    QWidget* lastRow = panel.findChild<QWidget*>(QStringLiteral("app-row-org.example.App11"));
    panel.profileCycleButton()->setFocus(Qt::TabFocusReason);
    panel.expandedContent()->listScrollArea()->verticalScrollBar()->setValue(0);
    ASSERT_TRUE(lastRow->visibleRegion().isEmpty());
    QTest::keyClick(panel.profileCycleButton(), Qt::Key_Backtab);
    ASSERT_TRUE(lastRow->hasFocus());
    EXPECT_EQ(lastRow->visibleRegion().boundingRect(), lastRow->rect());

    const auto spaceOn = [&](QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(control->hasFocus());
        QTest::keyClick(control, Qt::Key_Space);
    };
    QSignalSpy settingsOpened(&panel, &TremlorPopoverView::openSettingsRequested);
    QSignalSpy quit(&panel, &TremlorPopoverView::quitRequested);
    spaceOn(panel.findChild<QWidget*>(QStringLiteral("settings-button")));
    spaceOn(panel.findChild<QWidget*>(QStringLiteral("quit-button")));
    EXPECT_EQ(settingsOpened.count() + quit.count(), 2);
    spaceOn(panel.profileCycleButton());
    EXPECT_EQ(settings.activeProfileId(), json::uuidText(settings.profiles().constFirst().id));
    spaceOn(panel.disclosureToggle());
    EXPECT_FALSE(settings.popoverExpanded());
    spaceOn(panel.disclosureToggle());
    EXPECT_TRUE(settings.popoverExpanded());
    QAccessible::queryAccessibleInterface(panel.disclosureToggle())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !settings.popoverExpanded(); }, 1000));
    settings.setPopoverExpanded(true);

    panel.setSelectedDuration(Duration::minutes30());
    EXPECT_CALL(engine, start(Duration::minutes30()));
    spaceOn(panel.startStopButton());
    EXPECT_EQ(settings.lastUsedDurationId(), QStringLiteral("30m"));
    EXPECT_TRUE(panel.startStopButton()->hasFocus()) << "the keyboard stays on Start/Stop";
}
