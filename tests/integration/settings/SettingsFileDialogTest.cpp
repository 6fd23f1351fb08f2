#include "Views/Settings/AdvancedSettingsView.h"
#include "views/SettingsTestSupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>

using namespace tremlor;

namespace {

// Types `name` into the open dialog's file name field, in `folder`, and presses its accept
// button, as a person would.
void chooseInDialog(QFileDialog* dialog, const QString& folder, const QString& name)
{
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->setDirectory(folder);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, name);
    auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* accept = box->button(
        dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
    ASSERT_TRUE(accept->isEnabled());
    QTest::mouseClick(accept, Qt::LeftButton);
}

} // namespace

// Export through the save dialog (its default name is TremlorSettings.json), change the
// settings, then import the file through the open dialog: the exported values come back.
TEST(SettingsFileDialogs, ExportThenImportThroughQtsOwnDialogs)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    settingstest::Fixture f;
    TremlorSettings& s = f.settings();
    s.setMaxInterval(77);
    s.setProfiles({ s.captureAsProfile(QStringLiteral("Work")) });
    const SettingsExport exported(s, s.profiles(), s.scheduleEntries());
    QTemporaryDir folder;
    AdvancedSettingsView view(f.context);
    view.show();

    QTest::mouseClick(view.findChild<QAbstractButton*>("export-settings"), Qt::LeftButton);
    auto* save = view.findChild<QFileDialog*>("export-dialog");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->selectedFiles().value(0).section(u'/', -1), QStringLiteral("TremlorSettings.json"));
    chooseInDialog(save, folder.path(), QStringLiteral("TremlorSettings.json"));
    const QString path = folder.filePath(QStringLiteral("TremlorSettings.json"));
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(view.exportDocument().has_value());

    s.resetToDefaults();
    s.setProfiles({});
    QTest::mouseClick(view.findChild<QAbstractButton*>("import-settings"), Qt::LeftButton);
    chooseInDialog(
        view.findChild<QFileDialog*>("import-dialog"), folder.path(), QStringLiteral("TremlorSettings.json"));
    EXPECT_EQ(SettingsExport(s, s.profiles(), s.scheduleEntries()), exported);
}
