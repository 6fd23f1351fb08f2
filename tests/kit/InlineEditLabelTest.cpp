#include "KestuDesign/Components/KestuInlineEditLabel.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KitCompositeSupport.h"

#include <QVariantAnimation>

#include <memory>
#include <tuple>

using namespace kestu;

namespace {
using Visibility = KestuInlineEditLabel::PencilVisibility;

// The host's side of the label: the stored name, how often it was written and committed.
class InlineEditLabel : public CompositeTest {
protected:
    std::unique_ptr<KestuInlineEditLabel> make(Visibility visibility = Visibility::always)
    {
        KestuBinding<QString> binding(
            [this] { return name; }, [this](const QString& value) { name = value, ++writes; });
        auto label = std::make_unique<KestuInlineEditLabel>(binding, QFont(), visibility, false, [this] { ++commits; });
        label->resize(240, 30);
        label->show();
        return label;
    }
    static void doubleClick(QWidget& label) { QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(5, 10)); }

    QString name = QStringLiteral("Work");
    int writes = 0, commits = 0;
};
} // namespace

// Return stores the trimmed name (a blank one keeps the old name but still reports; the same
// name is written again); Escape leaves without writing or reporting. Only the commit writes,
// and the retired editor changes nothing.
TEST_F(InlineEditLabel, CommitStoresTrimmedNamesBlankKeepsAndCancelLeaves)
{
    const struct {
        const char* typed;
        Qt::Key key;
        const char* name;
        int writes, commits;
    } cases[] = {
        { " \t Deep  focus\t ", Qt::Key_Return, "Deep  focus", 1, 1 },
        { "   ", Qt::Key_Return, "Work", 0, 1 },
        { "Work", Qt::Key_Return, "Work", 1, 1 },
        { "Other", Qt::Key_Escape, "Work", 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        name = QStringLiteral("Work");
        writes = commits = 0;
        auto label = make();
        doubleClick(*label);
        KestuTextField* editor = label->editor();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), QStringLiteral("Work")) << "the edit starts from the current name";
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QString::fromUtf8(c.typed));
        EXPECT_EQ(writes, 0);
        QTest::keyClick(editor, c.key);
        EXPECT_EQ(name, QString::fromUtf8(c.name));
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(commits, c.commits);
        EXPECT_FALSE(label->isEditing());
        EXPECT_EQ(label->displayedText(), QString::fromUtf8(c.name));
        EXPECT_EQ(label->pencil()->accessibleName(), QStringLiteral("Rename ") + QString::fromUtf8(c.name));
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(commits, c.commits);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(label->editor(), nullptr);
    }
}

// The pencil shows always or on hover only; without it a double-click still edits, a single
// click does not.
TEST_F(InlineEditLabel, PencilFollowsVisibilityAndHover)
{
    auto always = make(Visibility::always);
    EXPECT_TRUE(always->pencil()->isVisible());
    QTest::mouseClick(always->pencil(), Qt::LeftButton);
    EXPECT_TRUE(always->isEditing());

    auto onHover = make(Visibility::onHover);
    EXPECT_FALSE(onHover->pencil()->isVisible());
    onHover->setHovering(true);
    EXPECT_TRUE(onHover->pencil()->isVisible());
    QTest::mouseClick(onHover.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    EXPECT_FALSE(onHover->isEditing());
    doubleClick(*onHover);
    EXPECT_TRUE(onHover->isEditing());
}

// On hover the pencil fades in and out through in-between strengths, as drawn, and ends fully
// shown or gone; a fade that turns back starts where it stands. Reduced motion: at once.
TEST_F(InlineEditLabel, PencilFadesWithTheHoverUnlessMotionIsReduced)
{
    const auto darkest = [](const QImage& image) {
        int gray = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                gray = std::min(gray, qGray(image.pixel(x, y)));
        return gray;
    };
    for (const bool reduced : { false, true }) {
        setReducedMotionOverride(reduced);
        auto label = make(Visibility::onHover);
        auto* fade = label->findChild<QVariantAnimation*>(QStringLiteral("pencil-fade"));
        for (const bool hover : { true, false }) {
            SCOPED_TRACE(testing::Message() << reduced << hover);
            label->setHovering(hover);
            if (!reduced) {
                EXPECT_TRUE(label->pencil()->isVisible());
                fade->setCurrentTime(fade->duration() / 2);
                const double part = label->pencilOpacity();
                EXPECT_GT(part, 0.1);
                EXPECT_LT(part, 0.9);
                const int partInk = darkest(kittest::render(label->pencil()));
                label->setHovering(!hover);
                label->setHovering(hover);
                EXPECT_EQ(label->pencilOpacity(), part);
                finish(fade);
                if (hover) {
                    EXPECT_GT(partInk, darkest(kittest::render(label->pencil())) + 10) << "drawn fainter";
                }
            }
            EXPECT_EQ(label->pencilOpacity(), hover ? 1.0 : 0.0);
            EXPECT_EQ(label->pencil()->isVisible(), hover);
        }
    }
}

// Tab or a click elsewhere commits an edit, the keyboard going on from there; after Return or Escape
// it stays on the pencil, which Tab reaches. Another window taking the keyboard leaves the edit open.
TEST_F(InlineEditLabel, LosingTheKeyboardCommitsAndTheKeyboardStaysByTheLabel)
{
    KestuInlineEditLabel* label = make().release();
    kittest::KitWindow w(label);
    QWidget* after = w.other;
    w.show();
    const auto openedEditor = [&] {
        QCoreApplication::processEvents(); // its focus request
        return label->editor() && label->editor()->hasFocus() && label->editor()->selectedText() == name;
    };
    doubleClick(*label);
    // Typed, the key ending the edit, the name, writes and commits then, and the keyboard's holder.
    const std::tuple<const char*, Qt::Key, const char*, int, QWidget*> ends[] = {
        { "", Qt::Key_Tab, "Work", 1, after },
        { "Deep", Qt::Key_Return, "Deep", 2, label->pencil() },
        { "", Qt::Key_Escape, "Deep", 2, label->pencil() },
    };
    for (const auto& [typed, key, stored, count, holder] : ends) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(openedEditor());
        QTest::keyClicks(label->editor(), QString::fromLatin1(typed));
        QTest::keyClick(label->editor(), key);
        EXPECT_EQ(std::tie(name, writes, commits), std::tuple(QString::fromLatin1(stored), count, count));
        EXPECT_FALSE(label->isEditing());
        EXPECT_TRUE(holder->hasFocus());
        if (holder == after)
            QTest::keyClick(after, Qt::Key_Backtab);
        ASSERT_TRUE(label->pencil()->hasFocus());
        QTest::keyClick(label->pencil(), Qt::Key_Space);
    }
    ASSERT_TRUE(openedEditor());
    QApplication::setActiveWindow(nullptr);
    kittest::showActive(w.window);
    EXPECT_TRUE(label->isEditing());
    QTest::mouseClick(after, Qt::LeftButton);
    EXPECT_EQ(std::tie(writes, commits), std::tuple(3, 3));
    EXPECT_FALSE(label->isEditing());
    EXPECT_TRUE(after->hasFocus());
}

TEST(InlineEditName, TrimsSpaceSeparatorsAndTabsButNotLineBreaks)
{
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral("\u00A0\u3000 a b\t\u2003")), QStringLiteral("a b"));
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral("\nname\n")), QStringLiteral("\nname\n"));
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral(" \t ")), QString());
}
