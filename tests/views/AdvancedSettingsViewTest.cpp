#include "Views/Settings/AdvancedSettingsView.h"

#include "Views/Shared/TokenLabel.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace tremlor;
using AdvancedSettings = settingstest::FixtureTest;

// The check runs at once when the section comes on screen, then on each tick of its two-second
// timer, and never while the section is not shown. "Granted" shows in the success colour.
TEST_F(AdvancedSettings, PollsOnlyWhileShownAndChecksAtOnce)
{
    f.accessibility.trusted = false;
    AdvancedSettingsView view(f.context);
    auto* status = view.findChild<TokenLabel*>("accessibility-status-text");
    EXPECT_FALSE(view.pollTimer()->isActive());
    EXPECT_EQ(f.accessibility.checks, 0);

    view.show();
    EXPECT_EQ(f.accessibility.checks, 1);
    EXPECT_TRUE(view.pollTimer()->isActive());
    EXPECT_EQ(view.pollTimer()->interval(), 2000);
    EXPECT_EQ(status->text(), QStringLiteral("Not Granted"));
    f.accessibility.trusted = true;
    QMetaObject::invokeMethod(view.pollTimer(), "timeout");
    EXPECT_EQ(status->text(), QStringLiteral("Granted"));
    EXPECT_EQ(status->palette().color(QPalette::WindowText), kestu::Color::success().resolve(status));

    view.hide();
    EXPECT_FALSE(view.pollTimer()->isActive());
    f.accessibility.trusted = false;
    view.show();
    EXPECT_EQ(f.accessibility.checks, 3);
    EXPECT_EQ(status->text(), QStringLiteral("Not Granted"));
}

// Cancel is the default, has the keyboard, and with Escape changes nothing; Reset (the destructive
// button) restores the defaults and keeps the profiles (the rest of what it keeps is the store's
// own test, Settings.ResetWritesEveryDefaultInOrder...). Only the focused button reports focused.
TEST_F(AdvancedSettings, ResetAsksFirstAndCancelChangesNothing)
{
    s.setMaxInterval(99);
    s.setProfiles({ settingstest::named("Work") });
    AdvancedSettingsView view(f.context);
    kittest::showActive(view);
    const auto reportedFocused = [](QDialog* alert) {
        QStringList focused;
        for (QWidget* widget : alert->findChildren<QWidget*>())
            if (QAccessible::queryAccessibleInterface(widget)->state().focused)
                focused << widget->objectName();
        return focused;
    };

    view.confirmReset();
    auto* alert = view.findChild<QDialog*>("reset-alert");
    ASSERT_NE(alert, nullptr);
    ASSERT_NO_FATAL_FAILURE(kittest::showActive(*alert));
    auto* cancel = alert->findChild<QPushButton*>("reset-cancel");
    auto* confirm = alert->findChild<QPushButton*>("reset-confirm");
    EXPECT_TRUE(cancel->isDefault());
    EXPECT_EQ(alert->findChild<QDialogButtonBox*>()->buttonRole(confirm), QDialogButtonBox::DestructiveRole);
    EXPECT_EQ(reportedFocused(alert), QStringList { "reset-cancel" });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(reportedFocused(alert), QStringList { "reset-confirm" });
    QTest::keyClick(alert, Qt::Key_Escape);
    EXPECT_EQ(s.maxInterval(), 99);

    QTest::qWait(0); // the closed alert goes
    view.confirmReset();
    view.findChild<QDialog*>("reset-alert")->findChild<QPushButton*>("reset-confirm")->click();
    EXPECT_EQ(s.maxInterval(), 30);
    EXPECT_EQ(s.profiles().size(), 1);
}

// Export and import open in the user's home folder (private to the tests), not in the folder the
// program was started from; export offers "TremlorSettings.json" there.
TEST_F(AdvancedSettings, FileDialogsOpenInTheHomeFolder)
{
    QTemporaryDir startedIn;
    const std::pair<const char*, const char*> cases[]
        = { { "export-settings", "export-dialog" }, { "import-settings", "import-dialog" } };
    AdvancedSettingsView view(f.context);
    view.show();
    for (const auto& [button, name] : cases) {
        // A dialog opens where the last one was, at first in the working folder: make that
        // another folder than the home.
        QFileDialog().setDirectory(startedIn.path());
        QTest::mouseClick(view.findChild<QAbstractButton*>(button), Qt::LeftButton);
        auto* dialog = view.findChild<QFileDialog*>(name);
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_EQ(dialog->directory().absolutePath(), QDir::home().absolutePath()) << name;
        if (dialog->acceptMode() == QFileDialog::AcceptSave) {
            EXPECT_EQ(dialog->selectedFiles(), QStringList { QDir::home().filePath("TremlorSettings.json") });
        }
        dialog->reject();
        QTest::qWait(0); // the closed dialog goes
    }
}
