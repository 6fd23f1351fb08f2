#include "KestuDesign/Components/KestuTextField.h"
#include "KitTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
// A window with one field bound to `value`, shown and active so the field can take focus.
struct FieldWindow : KitWindow {
    std::shared_ptr<QString> value;
    int commits = 0;
    int cancels = 0;
    KestuTextField* field;

    explicit FieldWindow(bool numericOnly, const QString& initial = QString())
        : value(std::make_shared<QString>(initial))
        , field(new KestuTextField(
              QString(), KestuBinding<QString>::of(value), std::nullopt, Qt::AlignLeft, false, numericOnly, false,
              [this] { ++commits; }, [this] { ++cancels; }))
    {
        layout->insertWidget(0, field);
        show();
        field->setFocus();
    }
};
} // namespace

TEST(KestuTextField, NumericFilterKeepsTheCaretAndLetsNumbersThrough)
{
    FieldWindow w(true);
    QTest::keyClicks(w.field, QStringLiteral("12a3"));
    EXPECT_EQ(w.field->text(), QStringLiteral("123"));
    EXPECT_EQ(*w.value, QStringLiteral("123"));
    EXPECT_EQ(w.field->cursorPosition(), 3);

    // A letter typed in the middle disappears and the caret stays where it was.
    w.field->setCursorPosition(1);
    QTest::keyClick(w.field, Qt::Key_X);
    EXPECT_EQ(w.field->text(), QStringLiteral("123"));
    EXPECT_EQ(w.field->cursorPosition(), 1);

    // Pasting letters into an empty field leaves it empty with the caret at 0.
    w.field->clear();
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(w.field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.field->text(), QString());
    EXPECT_EQ(w.field->cursorPosition(), 0);

    // Signs, points and the digits of other scripts pass unchanged; nothing more is checked.
    for (const QString& input : { QStringLiteral("-1.5"), QStringLiteral("1.2.3"), QStringLiteral("五٣¾") }) {
        w.field->clear();
        QApplication::clipboard()->setText(input);
        QTest::keyClick(w.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.field->text(), input);
        EXPECT_EQ(*w.value, input);
    }
}

TEST(KestuTextField, ReturnCommitsEscapeCancelsAndFocusLossCommits)
{
    FieldWindow w(false, QStringLiteral("Home"));
    // Every keystroke reaches the binding before the edit ends.
    QTest::keyClicks(w.field, QStringLiteral("!"));
    EXPECT_EQ(*w.value, QStringLiteral("Home!"));
    EXPECT_TRUE(w.field->isEditing());
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(w.commits, 1);
    EXPECT_EQ(w.cancels, 0);
    EXPECT_EQ(*w.value, QStringLiteral("Home!"));
    EXPECT_FALSE(w.field->hasFocus());

    // Escape puts back the text from before the edit, in the binding and the field.
    w.field->setFocus();
    QTest::keyClicks(w.field, QStringLiteral("xyz"));
    EXPECT_EQ(*w.value, QStringLiteral("Home!xyz"));
    QTest::keyClick(w.field, Qt::Key_Escape);
    EXPECT_EQ(w.cancels, 1);
    EXPECT_EQ(w.commits, 1);
    EXPECT_EQ(*w.value, QStringLiteral("Home!"));
    EXPECT_EQ(w.field->text(), QStringLiteral("Home!"));
    EXPECT_FALSE(w.field->isEditing());

    // Focus moving elsewhere in the middle of an edit commits it.
    w.field->setFocus();
    QTest::keyClicks(w.field, QStringLiteral("2"));
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.commits, 2);
    EXPECT_EQ(*w.value, QStringLiteral("Home!2"));

    // Focus that merely passes through starts no edit and commits nothing.
    w.field->setFocus();
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.commits, 2);
}

TEST(KestuTextField, OutsideChangesWaitWhileEditingAndShowWhenIdle)
{
    FieldWindow w(false, QStringLiteral("A"));
    QTest::keyClicks(w.field, QStringLiteral("b"));
    *w.value = QStringLiteral("from elsewhere");
    w.field->refresh();
    EXPECT_EQ(w.field->text(), QStringLiteral("Ab"));
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(*w.value, QStringLiteral("Ab")) << "the commit writes the field over the outside change";

    *w.value = QStringLiteral("new");
    w.field->refresh();
    EXPECT_EQ(w.field->text(), QStringLiteral("new"));

    // A description without a font keeps the last font; flags take effect at once.
    QFont big = w.field->font();
    big.setPixelSize(30);
    auto d = w.field->description();
    d.font = big;
    w.field->setDescription(d);
    d.font.reset();
    d.numericOnly = true;
    w.field->setDescription(d);
    EXPECT_EQ(w.field->font().pixelSize(), 30);
    w.field->setFocus();
    w.field->end(false);
    QTest::keyClicks(w.field, QStringLiteral("7q"));
    EXPECT_EQ(w.field->text(), QStringLiteral("7")) << "numeric filtering now applies to the whole text";
}

TEST(KestuTextField, AutoFocusTakesFocusWithTextSelectedAndKeysStayInTheField)
{
    KitWindow w;
    QWidget& window = w.window;
    int shortcuts = 0;
    auto* action = new QAction(&window);
    action->setShortcuts({ QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_1) });
    QObject::connect(action, &QAction::triggered, [&] { ++shortcuts; });
    window.addAction(action);
    auto first = std::make_shared<QString>(QStringLiteral("one"));
    auto second = std::make_shared<QString>(QStringLiteral("two"));
    auto* a = new KestuTextField(
        QString(), KestuBinding<QString>::of(first), std::nullopt, Qt::AlignLeft, true, false, true, nullptr, nullptr);
    auto* b = new KestuTextField(
        QString(), KestuBinding<QString>::of(second), std::nullopt, Qt::AlignLeft, true, false, true, nullptr, nullptr);
    w.layout->insertWidget(0, a);
    w.layout->insertWidget(1, b);
    w.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b->hasFocus()) << "the later of two auto-focus fields ends focused";
    EXPECT_EQ(b->selectedText(), QStringLiteral("two"));

    QTest::keyClick(b, Qt::Key_1);
    EXPECT_EQ(*second, QStringLiteral("1"));
    QTest::keyClick(b, Qt::Key_Return);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Escape);
    EXPECT_EQ(shortcuts, 0);
}
