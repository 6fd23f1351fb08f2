#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KitTestSupport.h"

#include <memory>

using namespace kestu;
using namespace kittest;

// Showing the field moves focus into it; clear shows while there is text (spaces count) and
// empties what the field shows mid-edit, so the next keystroke starts from nothing.
TEST(KestuSearchField, TakesFocusShowsClearWhileThereIsTextAndClearEmptiesTheField)
{
    const MotionOverride motion(true); // transitions end at once
    auto text = std::make_shared<QString>();
    auto* search = new KestuSearchField(KestuBinding<QString>::of(text), QStringLiteral("Search apps"));
    KitWindow w(search, true);
    w.other->setFocus();
    w.show();
    QCoreApplication::processEvents();
    KestuTextField* field = search->textField();
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(search->clearButton()->isVisible());
    QTest::keyClicks(field, QStringLiteral("sa"));
    EXPECT_EQ(*text, QStringLiteral("sa"));
    EXPECT_TRUE(search->clearButton()->isVisible());
    QTest::mouseClick(search->clearButton(), Qt::LeftButton);
    EXPECT_EQ(field->text(), QString());
    EXPECT_FALSE(search->clearButton()->isVisible());
    QTest::keyClicks(field, QStringLiteral("x"));
    EXPECT_EQ(*text, QStringLiteral("x"));

    QTest::keyClick(field, Qt::Key_Return);
    *text = QStringLiteral("  ");
    search->refresh();
    EXPECT_TRUE(search->clearButton()->isVisible());
}

// Shown into a window that is already up, the settings' field leaves focus where it was, and
// shows its clear button at once once there is text.
TEST(KestuSettingsSearchField, LeavesFocusAloneAndShowsClearAtOnce)
{
    auto text = std::make_shared<QString>();
    KitWindow w(nullptr, true);
    w.show();
    w.other->setFocus();
    auto* search = new KestuSettingsSearchField(KestuBinding<QString>::of(text), QString());
    w.layout->addWidget(search);
    search->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.other->hasFocus());
    // (Its clear button is driven by the settings window's search test.)
    QTest::keyClicks(search->lineEdit(), QStringLiteral("ab"));
    EXPECT_TRUE(search->clearButton()->isVisible());
}

// Unfocused, the settings' search box shows the start of a search too long for it and "…" (the
// panel's box is the kit's text field).
TEST(KestuSettingsSearchField, ALongSearchShowsItsStartAndAnEllipsisWhileUnfocused)
{
    const QString search = QStringLiteral("calculator scientific mode");
    auto* field = new KestuSettingsSearchField(KestuBinding<QString>::constant(search), QString());
    auto* twin = new KestuSettingsSearchField(KestuBinding<QString>::constant(QStringLiteral("x")), QString());
    KitWindow w(field);
    w.layout->addWidget(twin);
    w.window.setFixedWidth(120);
    w.show();
    w.other->setFocus();
    QLineEdit* shown = twin->lineEdit();
    const auto show = [shown](const QString& t) { shown->setText(t); };
    EXPECT_FALSE(shownStart(field->lineEdit(), shown, show, search).isEmpty());
}
