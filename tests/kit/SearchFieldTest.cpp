#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KitTestSupport.h"
#include "support/WaitUntil.h"

#include <QAccessible>

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

// Either search box: clear, reached by Tab, pressed by Space, Return or an assistive tool, empties it
// and hands the keyboard back; an assistive tool's text is searched for; Tab into it selects none.
TEST(KestuSearchFields, ClearIsReachedByTabPressedByKeysAndHandsTheKeyboardBack)
{
    const MotionOverride motion(true); // transitions end at once
    for (const bool panel : { true, false })
        for (const int way : { 0, 1, 2 }) { // Space, Return, a screen reader's press with the keyboard elsewhere
            SCOPED_TRACE(testing::Message() << panel << " " << way);
            auto text = std::make_shared<QString>();
            const auto binding = KestuBinding<QString>::of(text);
            QWidget* search = panel ? static_cast<QWidget*>(new KestuSearchField(binding, QString()))
                                    : new KestuSettingsSearchField(binding, QString());
            auto* field = search->findChild<QLineEdit*>();
            auto* clear = search->findChild<KestuClearButton*>();
            KitWindow w(search, true);
            w.layout->addWidget(new QPushButton(QStringLiteral("after")));
            w.show();
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("sa"));
            const QImage plain = render(clear);
            QTest::keyClick(field, Qt::Key_Tab);
            ASSERT_TRUE(clear->hasFocus());
            EXPECT_NE(render(clear), plain) << "the ring shows";
            if (way < 2) {
                QTest::keyClick(clear, way == 0 ? Qt::Key_Space : Qt::Key_Return);
            } else {
                clear->clearFocus();
                doAction(clear); // Qt's animated click, released a moment later
                EXPECT_TRUE(waitUntil([clear] { return !clear->isDown(); }, 1000));
            }
            EXPECT_EQ(*text, QString());
            EXPECT_FALSE(clear->isVisible());
            EXPECT_TRUE(field->hasFocus());
            QTest::keyClicks(field, QStringLiteral("x"));
            EXPECT_EQ(*text, QStringLiteral("x"));

            w.other->setFocus();
            QAccessible::queryAccessibleInterface(field)->setText(QAccessible::Value, QStringLiteral("calc"));
            EXPECT_EQ(*text, QStringLiteral("calc"));
            EXPECT_TRUE(clear->isVisible());
            for (int i = 0; i < 3 && !field->hasFocus(); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_TRUE(field->hasFocus());
            EXPECT_FALSE(field->hasSelectedText()) << "reached by Tab, the next key adds to the search";
        }
}
