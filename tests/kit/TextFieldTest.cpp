#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>

#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
KestuTextField* makeField(std::shared_ptr<QString> value, bool numericOnly = false, bool autoFocus = false,
    std::function<void()> commit = {}, std::function<void()> cancel = {})
{
    return new KestuTextField(QString(), KestuBinding<QString>::of(std::move(value)), std::nullopt, Qt::AlignLeft,
        autoFocus, numericOnly, autoFocus, std::move(commit), std::move(cancel));
}

// A window with one field bound to `value`, shown and active, the field focused.
struct FieldWindow : KitWindow {
    std::shared_ptr<QString> value;
    int commits = 0, cancels = 0;
    KestuTextField* field;

    explicit FieldWindow(bool numericOnly, const QString& initial = QString())
        : value(std::make_shared<QString>(initial))
        , field(makeField(
              value, numericOnly, false, [this] { ++commits; }, [this] { ++cancels; }))
    {
        layout->insertWidget(0, field);
        show();
        field->setFocus();
    }
};
} // namespace

// A refused letter leaves the caret where it was; signs, points and other scripts' digits pass.
TEST(KestuTextField, NumericFilterKeepsTheCaretAndLetsNumbersThrough)
{
    FieldWindow w(true);
    QTest::keyClicks(w.field, QStringLiteral("12a3"));
    EXPECT_EQ(*w.value, QStringLiteral("123"));
    EXPECT_EQ(w.field->cursorPosition(), 3);
    w.field->setCursorPosition(1);
    QTest::keyClick(w.field, Qt::Key_X);
    EXPECT_EQ(w.field->text(), QStringLiteral("123"));
    EXPECT_EQ(w.field->cursorPosition(), 1);
    for (const auto& [pasted, kept] :
        { std::pair { "abc", "" }, { "-1.5", "-1.5" }, { "1.2.3", "1.2.3" }, { "五٣¾", "五٣¾" } }) {
        w.field->clear();
        QApplication::clipboard()->setText(QString::fromUtf8(pasted));
        QTest::keyClick(w.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(*w.value, QString::fromUtf8(kept));
        EXPECT_EQ(w.field->cursorPosition(), w.value->size());
    }
}

// Every keystroke reaches the binding; Return commits and leaves; Escape puts back the text from
// before the edit; focus leaving mid-edit commits, and so does focus passing through, which
// writes nothing.
TEST(KestuTextField, ReturnCommitsEscapeCancelsAndFocusLossCommits)
{
    FieldWindow w(false, QStringLiteral("Home"));
    QTest::keyClicks(w.field, QStringLiteral("!"));
    EXPECT_EQ(*w.value, QStringLiteral("Home!"));
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(w.commits, 1);
    EXPECT_FALSE(w.field->hasFocus());

    w.field->setFocus();
    QTest::keyClicks(w.field, QStringLiteral("xyz"));
    QTest::keyClick(w.field, Qt::Key_Escape);
    EXPECT_EQ(w.cancels, 1);
    EXPECT_EQ(w.commits, 1);
    EXPECT_EQ(*w.value, QStringLiteral("Home!"));
    EXPECT_EQ(w.field->text(), QStringLiteral("Home!"));
    EXPECT_FALSE(w.field->isEditing());

    w.field->setFocus();
    QTest::keyClicks(w.field, QStringLiteral("2"));
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.commits, 2);
    EXPECT_EQ(*w.value, QStringLiteral("Home!2"));
    *w.value = QStringLiteral("changed elsewhere");
    w.field->setFocus();
    w.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.commits, 3);
    EXPECT_EQ(*w.value, QStringLiteral("changed elsewhere")) << "passing through writes nothing back";
}

// An outside change waits while editing (the commit writes over it) and shows when idle.
TEST(KestuTextField, OutsideChangesWaitWhileEditingAndShowWhenIdle)
{
    FieldWindow w(false, QStringLiteral("A"));
    QTest::keyClicks(w.field, QStringLiteral("b"));
    *w.value = QStringLiteral("from elsewhere");
    w.field->refresh();
    EXPECT_EQ(w.field->text(), QStringLiteral("Ab"));
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(*w.value, QStringLiteral("Ab"));
    *w.value = QStringLiteral("new");
    w.field->refresh();
    EXPECT_EQ(w.field->text(), QStringLiteral("new"));
}

// The later of two auto-focus fields ends focused with its text selected; Return, Escape and
// digits stay in the field rather than reaching the window's shortcuts.
TEST(KestuTextField, AutoFocusTakesFocusWithTextSelectedAndKeysStayInTheField)
{
    KitWindow w;
    int shortcuts = 0;
    auto* action = new QAction(&w.window);
    action->setShortcuts({ QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_1) });
    QObject::connect(action, &QAction::triggered, [&] { ++shortcuts; });
    w.window.addAction(action);
    auto second = std::make_shared<QString>(QStringLiteral("two"));
    w.layout->insertWidget(0, makeField(std::make_shared<QString>(QStringLiteral("one")), false, true));
    auto* b = makeField(second, false, true);
    w.layout->insertWidget(1, b);
    w.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(b->selectedText(), QStringLiteral("two"));
    QTest::keyClick(b, Qt::Key_1);
    EXPECT_EQ(*second, QStringLiteral("1"));
    QTest::keyClick(b, Qt::Key_Return);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Escape);
    EXPECT_EQ(shortcuts, 0);
}

// Unfocused, a name too long for the field shows its start and "…" (bordered or not); focused,
// the whole name is there to edit; the binding holds it whole throughout. A click that focuses
// the field puts the caret by the letter the user saw, not in the tail it scrolled to before.
TEST(KestuTextField, ALongTextShowsItsStartAndAnEllipsisUntilFocused)
{
    const QString name = QStringLiteral("Planning for the quarterly review");
    for (const bool bordered : { false, true }) {
        SCOPED_TRACE(bordered);
        auto value = std::make_shared<QString>(name);
        const auto make = [bordered](KestuBinding<QString> text) {
            return new KestuTextField(
                QString(), std::move(text), std::nullopt, Qt::AlignLeft, bordered, false, false, {}, {});
        };
        KestuTextField* field = make(KestuBinding<QString>::of(value));
        KestuTextField* twin = make(KestuBinding<QString>::constant(QString()));
        KitWindow w(field);
        w.layout->addWidget(twin);
        w.window.setFixedWidth(150);
        w.show();
        w.other->setFocus();
        const auto show = [twin](const QString& t) { twin->setText(t); };
        const auto start = [&] { return shownStart(field, twin, show, name); };
        EXPECT_FALSE(start().isEmpty());
        // The cut text begins where a fitting one does, however far the font's glyphs reach left.
        const auto firstInk = [](QWidget* widget) {
            const QImage image = render(widget);
            const QColor paper = image.pixelColor(image.width() - 3, image.height() / 2);
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    if (!near(image.pixelColor(x, y), paper, 60))
                        return x;
                }
            }
            return -1;
        };
        show(QStringLiteral("P"));
        EXPECT_EQ(firstInk(field), firstInk(twin));

        QTest::keyClick(w.other, Qt::Key_Backtab);
        ASSERT_TRUE(field->hasFocus());
        EXPECT_FALSE(field->hasSelectedText()) << "reached by the keyboard, nothing is selected";
        EXPECT_EQ(start(), QString());
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, QStringLiteral("!"));
        EXPECT_EQ(*value, name + QLatin1Char('!'));
        render(field); // painted scrolled to the tail
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_EQ(*value, name + QLatin1Char('!'));
        EXPECT_FALSE(start().isEmpty());

        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
        EXPECT_LE(field->cursorPosition(), 1);
    }
}

// A focused field, reached by Tab or by a click, shows the kit's ring along its edge in place of
// the style's focus frame; unfocused, none.
TEST(KestuTextField, ShowsTheKitsRingWhenFocused)
{
    auto value = std::make_shared<QString>(QStringLiteral("Home"));
    auto* field = new KestuTextField(
        QString(), KestuBinding<QString>::of(value), std::nullopt, Qt::AlignLeft, true, false, false, {}, {});
    KitWindow w(field);
    w.window.setPalette(palette(false));
    w.show();
    const QColor accent = Color::accent().resolve(field);
    for (const bool byTab : { true, false }) {
        w.other->setFocus();
        EXPECT_FALSE(near(render(field).pixelColor(field->width() / 2, 0), accent, 40));
        if (byTab)
            QTest::keyClick(w.other, Qt::Key_Backtab);
        else
            QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_TRUE(field->hasFocus());
        EXPECT_TRUE(near(render(field).pixelColor(field->width() / 2, 0), accent, 40)) << byTab;
    }
}

// Text an assistive tool sets reaches the binding as typing does, focused or not; while the field
// holds the keyboard it begins an edit that Escape takes back.
TEST(KestuTextField, TextSetByAnAssistiveToolReachesTheBinding)
{
    const struct {
        bool numeric, focused;
        int from, to;
        const char *before, *replacement, *stored;
    } cases[] = { { true, false, 0, 2, "30", "4a5", "45" }, { true, true, 0, 2, "30", "4a5", "45" },
        { false, false, 4, 4, "Home", "!", "Home!" }, { false, true, 0, 1, "Home", "", "ome" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        FieldWindow w(c.numeric, QString::fromUtf8(c.before));
        if (!c.focused)
            w.other->setFocus();
        QAccessible::queryAccessibleInterface(w.field)->editableTextInterface()->replaceText(
            c.from, c.to, QString::fromUtf8(c.replacement));
        EXPECT_EQ(*w.value, QString::fromUtf8(c.stored));
        EXPECT_EQ(w.field->text(), *w.value);
        QTest::keyClick(w.field, Qt::Key_Escape);
        EXPECT_EQ(*w.value, QString::fromUtf8(c.focused ? c.before : c.stored));
    }
}
