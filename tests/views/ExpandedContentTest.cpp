#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "Models/SettingsExport.h"
#include "Platform/Json.h"
#include "Views/Popover/CompactAppRow.h"
#include "Views/Popover/PopoverExpandedContent.h"
#include "Views/Popover/ProfilePickerView.h"
#include "Views/Popover/RotationMenuButton.h"
#include "Views/Popover/RunningIndicator.h"
#include "Views/Shared/TremlorColor.h"
#include "Views/Shared/ViewSymbols.h"
#include "core/EngineFixture.h"
#include "views/KeyboardWalk.h"
#include "views/SettingsTestSupport.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

using namespace tremlor;

namespace {

class ExpandedContentTest : public tremlor::testing::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ViewSymbols::registerAll();
        makeEngine();
        scanner.apps = { AppInfo("org.gnome.Calculator", "Calculator", {}), AppInfo("org.example.Mail", "Mail", {}),
            AppInfo("org.example.calc-notes", "Notes", {}) };
        content = std::make_unique<PopoverExpandedContent>(*settings, *engine, scanner);
        content->setRunningQuery([this](const AppInfo& app) {
            ++runningQueries;
            return running.contains(app.bundleIdentifier());
        });
        content->resize(288, content->sizeHint().height());
        kittest::showActive(*content);
        content->reloadInstalledApps();
    }
    void TearDown() override
    {
        content.reset();
        EngineTest::TearDown();
    }

    kittest::MotionOverride reduced { true };
    settingstest::ListScanner scanner;
    QStringList running; // what the fake window list shows
    int runningQueries = 0;
    std::unique_ptr<PopoverExpandedContent> content;
};

// Tab from `from` until `target` holds the keyboard.
void tabTo(QWidget* from, QWidget* target)
{
    QApplication::setActiveWindow(from->window()); // back from a menu that held the keyboard
    from->setFocus(Qt::TabFocusReason);
    for (int tabs = 0; tabs < 12 && QApplication::focusWidget() != target; ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), target);
}

QAccessibleInterface* accessibleChild(QAccessibleInterface* parent, QAccessible::Role role, const QString& name = {})
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child && child->role() == role && (name.isEmpty() || child->text(QAccessible::Name) == name))
            return child;
    }
    return nullptr;
}

} // namespace

// Rows, rotation menu and slider write the store at once; the same controls follow changes
// made elsewhere; the search filters names only, ignoring case.
TEST_F(ExpandedContentTest, ControlsWriteTheStoreAndFollowOutsideChanges)
{
    CompactAppRow* calculator = content->row(QStringLiteral("org.gnome.Calculator"));
    CompactAppRow* mail = content->row(QStringLiteral("org.example.Mail"));
    ASSERT_TRUE(calculator && mail);
    mail->click();
    calculator->click();
    EXPECT_EQ(settings->selectedAppBundleIDs(), QStringList({ "org.example.Mail", "org.gnome.Calculator" }));
    EXPECT_TRUE(mail->isChecked());
    EXPECT_EQ(content->selectedCountText(), QStringLiteral("2 selected"));
    mail->click();
    EXPECT_EQ(settings->selectedAppBundleIDs(), QStringList({ "org.gnome.Calculator" }));
    settings->setSelectedAppBundleIDs({ QStringLiteral("org.example.Mail"), QStringLiteral("gone.app") });
    EXPECT_TRUE(mail->isChecked());
    EXPECT_FALSE(calculator->isChecked());
    EXPECT_EQ(content->selectedCountText(), QStringLiteral("2 selected"));

    RotationMenuButton* rotation = content->rotationMenu();
    rotation->menu()->findChild<QAction*>(QStringLiteral("rotation-random"))->trigger();
    EXPECT_EQ(settings->rotationMode(), RotationMode::random);
    settings->setRotationMode(RotationMode::sequential);
    EXPECT_EQ(rotation->title(), QStringLiteral("Sequential"));

    for (const double shownOnly : { 45.5, 500.0 }) { // off the step, out of range: shown, never written back
        settings->setMaxInterval(shownOnly);
        settle();
        EXPECT_EQ(settings->maxInterval(), shownOnly);
    }
    settings->setMaxInterval(45);
    kestu::KestuSliderLabelField* label = content->intervalSlider()->label();
    EXPECT_EQ(label->text(), QStringLiteral("45 s"));
    label->setFocus();
    label->selectAll();
    QTest::keyClicks(label, QStringLiteral("300"));
    QTest::keyClick(label, Qt::Key_Return);
    EXPECT_EQ(settings->maxInterval(), 300);
    // The slider's fill is the product's orange, not the kit's own accent.
    const QColor fill = kittest::render(content->intervalSlider()->track()).pixelColor(20, 10);
    const auto distance = [&fill](const QColor& c) {
        return std::abs(fill.red() - c.red()) + std::abs(fill.green() - c.green()) + std::abs(fill.blue() - c.blue());
    };
    EXPECT_LT(distance(Color::accent()), distance(kestu::Color::accent().resolve(content.get())) / 3);

    content->setAppSearchText(QStringLiteral("CALC"));
    ASSERT_EQ(content->filteredApps().size(), 1); // not Notes, whose identifier holds "calc"
    EXPECT_TRUE(calculator->isVisibleTo(content.get()));
    EXPECT_FALSE(calculator->showsDivider()); // the last row shown
    EXPECT_FALSE(mail->isVisibleTo(content.get()));
    content->setAppSearchText(QStringLiteral("zzz"));
    EXPECT_TRUE(content->emptyState()->isVisibleTo(content.get()));
    content->setAppSearchText(QString());
    settings->setSelectedAppBundleIDs({});
    EXPECT_TRUE(content->selectedCountText().isEmpty());
}

// An application that starts or quits while the list shows gets or loses its dot and its
// spoken "currently running" at the next refresh; while hidden nothing is asked.
TEST_F(ExpandedContentTest, RunningDotsFollowApplicationsWhileShown)
{
    settle(); // rows in sight are known once laid out
    CompactAppRow* mail = content->row(QStringLiteral("org.example.Mail"));
    QTimer* refresh = content->runningRefreshTimer();
    ASSERT_TRUE(refresh->isActive());
    for (const bool starts : { true, false }) {
        running = starts ? QStringList { QStringLiteral("org.example.Mail") } : QStringList {};
        QMetaObject::invokeMethod(refresh, "timeout");
        EXPECT_EQ(mail->isAppRunning(), starts);
        EXPECT_EQ(mail->runningIndicator()->isVisibleTo(mail), starts);
        EXPECT_EQ(mail->accessibleName(), starts ? "Select Mail, currently running" : "Select Mail");
    }
    // During a session only the application it keeps active pulses, not every running one.
    installed[QStringLiteral("org.example.Mail")] = scanner.apps[1];
    settings->setSelectedAppBundleIDs({ QStringLiteral("org.example.Mail") });
    running = { QStringLiteral("org.example.Mail"), QStringLiteral("org.gnome.Calculator") };
    engine->start(Duration::hours1());
    ASSERT_TRUE(waitFor([&] { return mail->runningIndicator()->isActiveTarget(); }));
    EXPECT_FALSE(content->row(QStringLiteral("org.gnome.Calculator"))->runningIndicator()->isActiveTarget());

    content->hide();
    EXPECT_FALSE(refresh->isActive());
    runningQueries = 0;
    running = { QStringLiteral("org.example.Mail") };
    content->setInstalledApps(scanner.apps.mid(1)); // a new scan while hidden
    EXPECT_EQ(runningQueries, 0);
    content->show();
    EXPECT_TRUE(mail->isAppRunning()); // asked at once on showing
    EXPECT_TRUE(refresh->isActive());

    // An application installed meanwhile takes its place in the list, for screen readers too.
    content->setInstalledApps(scanner.apps);
    QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(mail->parentWidget());
    EXPECT_EQ(rows->child(0)->text(QAccessible::Name), QStringLiteral("Select Calculator"));
}

// An import writes activeProfileId before the profiles it names: the section applies the
// imported profile once, after the whole import, and never the old profile of the same id.
TEST_F(ExpandedContentTest, ImportAppliesTheActiveProfileOnceAfterTheWholeRecord)
{
    const Profile old = settingstest::named(QStringLiteral("Focus"), 10, MovementPattern::bounce, { "old.app" });
    settings->setProfiles({ old });
    Profile imported = old;
    imported.maxInterval = 42;
    imported.selectedAppBundleIDs = { QStringLiteral("new.app") };
    imported.duration = Duration::hours4();
    SettingsExport record(*settings, { imported }, {});
    record.maxInterval = 77;
    record.activeProfileId = json::uuidText(old.id);

    QList<double> intervals;
    QObject::connect(settings.get(), &TremlorSettings::maxIntervalChanged, content.get(),
        [&] { intervals << settings->maxInterval(); });
    std::vector<Duration> chosen;
    QObject::connect(content.get(), &PopoverExpandedContent::selectedDurationChosen, content.get(),
        [&](const Duration& d) { chosen.push_back(d); });
    record.apply(*settings);
    settle();

    EXPECT_EQ(settings->maxInterval(), 42);
    EXPECT_EQ(settings->selectedAppBundleIDs(), QStringList({ "new.app" }));
    EXPECT_FALSE(intervals.contains(10.0)) << "the old profile was applied mid-import";
    EXPECT_EQ(chosen, std::vector<Duration> { Duration::hours4() });

    // Several changes in one turn react once, to the value that holds when it runs; a
    // lower-case id or "No Profile" applies nothing; a hidden section does not react.
    chosen.clear();
    settings->setActiveProfileId(QString());
    settings->setActiveProfileId(json::uuidText(old.id).toLower());
    settings->setActiveProfileId(json::uuidText(old.id));
    settle();
    EXPECT_EQ(chosen.size(), 1u);
    settings->setActiveProfileId(json::uuidText(old.id).toLower());
    settle(); // counted by the last check: nothing more may be chosen
    content->hide();
    settings->setActiveProfileId(json::uuidText(old.id));
    settle();
    EXPECT_EQ(chosen.size(), 1u);
}

// A click, Tab then Space, and an assistive tool's Toggle each add or remove the row's
// application in the store, and the row shows what is stored.
TEST_F(ExpandedContentTest, EveryWayOfTogglingARowStoresWhatItShows)
{
    CompactAppRow* mail = content->row(QStringLiteral("org.example.Mail"));
    const std::pair<const char*, std::function<void()>> ways[] = {
        { "mouse", [&] { QTest::mouseClick(mail, Qt::LeftButton, {}, mail->rect().center()); } },
        { "keyboard",
            [&] {
                tabTo(content->searchField()->findChild<QLineEdit*>(), mail);
                QTest::keyClick(mail, Qt::Key_Space);
            } },
        { "toggle action",
            [&] {
                QAccessible::queryAccessibleInterface(mail)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
            } },
    };
    settings->setSelectedAppBundleIDs({ QStringLiteral("org.gnome.Calculator") });
    for (const auto& [name, toggle] : ways) {
        for (const bool chosen : { true, false }) {
            SCOPED_TRACE(std::string(name) + (chosen ? " on" : " off"));
            toggle();
            EXPECT_EQ(settings->selectedAppBundleIDs(),
                chosen ? QStringList({ "org.gnome.Calculator", "org.example.Mail" })
                       : QStringList({ "org.gnome.Calculator" }));
            EXPECT_EQ(mail->isChecked(), chosen);
            // A check box to screen readers, checked or not.
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(mail);
            EXPECT_TRUE(node->role() == QAccessible::CheckBox && node->state().checked == chosen);
            EXPECT_TRUE(content->row(QStringLiteral("org.gnome.Calculator"))->isChecked());
        }
    }
}

// The rotation menu is the button's accessible child, its items checked as the store says;
// choosing an item by mouse, by keyboard or by an assistive tool's press stores its order.
TEST_F(ExpandedContentTest, RotationMenuReachesScreenReadersAndEveryWayStoresTheOrder)
{
    RotationMenuButton* button = content->rotationMenu();
    QAccessibleInterface* buttonNode = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(buttonNode->role(), QAccessible::ButtonMenu);
    EXPECT_EQ(buttonNode->text(QAccessible::Name), QStringLiteral("Rotation order: Sequential"));
    QAccessibleInterface* menuNode = accessibleChild(buttonNode, QAccessible::PopupMenu);
    ASSERT_NE(menuNode, nullptr);
    EXPECT_EQ(menuNode->object(), button->menu());
    const auto item = [&](const char* title) {
        return accessibleChild(menuNode, QAccessible::MenuItem, QString::fromLatin1(title));
    };
    ASSERT_TRUE(item("Sequential") && item("Random"));
    EXPECT_TRUE(item("Sequential")->state().checked);
    EXPECT_FALSE(item("Random")->state().checked);

    const auto pick = [](QMenu* menu, const char* title) {
        for (QAction* action : menu->actions())
            if (action->text() == QLatin1String(title))
                return action;
        return static_cast<QAction*>(nullptr);
    };
    struct Way {
        const char* name;
        std::function<void()> open;
        std::function<void(QMenu*, const char*)> choose;
    };
    const Way ways[] = {
        { "mouse", [&] { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); },
            [&](QMenu* menu, const char* title) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(pick(menu, title)).center());
            } },
        { "keyboard",
            [&] {
                tabTo(content->profilePicker()->picker(), button);
                QTest::keyClick(button, Qt::Key_Space);
            },
            [](QMenu* menu, const char* title) {
                // Down from nothing marked reaches the first item, then the second.
                QTest::keyClick(menu, Qt::Key_Down);
                if (QLatin1String(title) == QLatin1String("Random"))
                    QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            } },
        { "accessible actions",
            [&] {
                const RotationMode before = settings->rotationMode();
                buttonNode->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
                // Opened on the next turn: the tool is not held while the menu is open.
                EXPECT_EQ(settings->rotationMode(), before);
                settle();
            },
            [&](QMenu* menu, const char* title) {
                EXPECT_TRUE(buttonNode->state().expanded);
                QAccessibleInterface* node = item(title);
                ASSERT_NE(node, nullptr);
                EXPECT_TRUE(node->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
                node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                Q_UNUSED(menu);
            } },
    };
    for (const Way& way : ways) {
        for (const auto& [title, mode] :
            { std::pair { "Random", RotationMode::random }, std::pair { "Sequential", RotationMode::sequential } }) {
            SCOPED_TRACE(std::string(way.name) + " " + title);
            viewtest::whenMenuOpens(content.get(), [&](QMenu* menu) { way.choose(menu, title); });
            way.open();
            settle();
            EXPECT_EQ(settings->rotationMode(), mode);
            EXPECT_EQ(button->title(), QLatin1String(title));
            EXPECT_TRUE(item(title)->state().checked);
            EXPECT_FALSE(item(mode == RotationMode::random ? "Sequential" : "Random")->state().checked);
        }
    }
}
