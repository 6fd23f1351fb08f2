#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "KitTestSupport.h"

#include <QLineEdit>

#include <memory>

using namespace kestu;
using namespace kittest;

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
    EXPECT_TRUE(field->hasFocus()) << "showing the search field moves focus into it";
    EXPECT_EQ(field->placeholderText(), QStringLiteral("Search apps"));
    EXPECT_FALSE(search->clearButton()->isVisible());

    QTest::keyClicks(field, QStringLiteral("sa"));
    EXPECT_EQ(*text, QStringLiteral("sa"));
    EXPECT_TRUE(search->clearButton()->isVisible());

    // The field is in the middle of an edit: clearing empties what it shows, not only the binding.
    QTest::mouseClick(search->clearButton(), Qt::LeftButton);
    EXPECT_EQ(*text, QString());
    EXPECT_EQ(field->text(), QString());
    EXPECT_FALSE(search->clearButton()->isVisible());
    QTest::keyClicks(field, QStringLiteral("x"));
    EXPECT_EQ(*text, QStringLiteral("x")) << "the next keystroke starts from the emptied text";

    // Only spaces still count as text.
    *text = QStringLiteral("  ");
    QTest::keyClick(field, Qt::Key_Return);
    *text = QStringLiteral("  ");
    search->refresh();
    EXPECT_EQ(field->text(), QStringLiteral("  "));
    EXPECT_TRUE(search->clearButton()->isVisible());
}

TEST(KestuSettingsSearchField, LeavesFocusAloneAndShowsClearAtOnce)
{
    auto text = std::make_shared<QString>();
    KitWindow w(nullptr, true);
    w.show();
    w.other->setFocus();
    // Shown into a window that is already up: focus stays where it was.
    auto* search = new KestuSettingsSearchField(KestuBinding<QString>::of(text), QString());
    w.layout->addWidget(search);
    search->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.other->hasFocus());
    EXPECT_TRUE(search->lineEdit()->placeholderText().isEmpty());

    search->lineEdit()->setFocus();
    QTest::keyClicks(search->lineEdit(), QStringLiteral("ab"));
    EXPECT_EQ(*text, QStringLiteral("ab"));
    EXPECT_TRUE(search->clearButton()->isVisible());
    QTest::mouseClick(search->clearButton(), Qt::LeftButton);
    EXPECT_EQ(*text, QString());
    EXPECT_EQ(search->lineEdit()->text(), QString());
    EXPECT_FALSE(search->clearButton()->isVisible());
}
