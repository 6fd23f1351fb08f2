#include "KestuDesign/Components/KestuInlineEditLabel.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KitCompositeSupport.h"

#include <QAbstractButton>
#include <QTest>

#include <memory>

using namespace kestu;

namespace {
// The host's side of the label: the stored name, how often it was written and committed.
struct Host {
    QString name;
    int writes = 0;
    int commits = 0;
    KestuBinding<QString> binding()
    {
        return KestuBinding<QString>([this] { return name; },
            [this](const QString& value) {
                name = value;
                ++writes;
            });
    }
};

class InlineEditLabel : public CompositeTest {
protected:
    std::unique_ptr<KestuInlineEditLabel> make(
        KestuInlineEditLabel::PencilVisibility visibility = KestuInlineEditLabel::PencilVisibility::always,
        bool hovering = false)
    {
        auto label = std::make_unique<KestuInlineEditLabel>(
            host.binding(), QFont(), visibility, hovering, [this] { ++host.commits; });
        label->resize(240, 30);
        label->show();
        return label;
    }

    // Opens the editor with a double-click and types `text` over its content.
    static KestuTextField* typeInto(KestuInlineEditLabel& label, const QString& text)
    {
        QTest::mouseDClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
        KestuTextField* editor = label.editor();
        if (!editor)
            return nullptr;
        editor->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor, Qt::Key_Backspace);
        else
            QTest::keyClicks(editor, text);
        return editor;
    }

    Host host { QStringLiteral("Work") };
};
} // namespace

// Return stores the trimmed name (a blank one keeps the old name but still reports); Escape
// leaves without writing or reporting. The bound name is written by the commit only.
TEST_F(InlineEditLabel, CommitStoresTrimmedNamesBlankKeepsAndCancelLeaves)
{
    struct Case {
        const char* typed;
        Qt::Key key;
        const char* name;
        int writes, commits;
    };
    const Case cases[] = {
        { " \t Deep  focus\t ", Qt::Key_Return, "Deep  focus", 1, 1 },
        { "   ", Qt::Key_Return, "Work", 0, 1 },
        { "", Qt::Key_Return, "Work", 0, 1 },
        { "Other", Qt::Key_Escape, "Work", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        host = Host { QStringLiteral("Work") };
        auto label = make();
        KestuTextField* editor = typeInto(*label, QString::fromUtf8(c.typed));
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(label->isEditing());
        EXPECT_EQ(host.writes, 0);
        QTest::keyClick(editor, c.key);
        EXPECT_EQ(host.name, QString::fromUtf8(c.name));
        EXPECT_EQ(host.writes, c.writes);
        EXPECT_EQ(host.commits, c.commits);
        EXPECT_FALSE(label->isEditing());
        EXPECT_EQ(label->displayedText(), QString::fromUtf8(c.name));
        // The editor is retired: a late commit from it changes nothing.
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(host.commits, c.commits);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(label->editor(), nullptr);
    }

    // The same text again is written again.
    auto label = make();
    QTest::mouseDClick(label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    ASSERT_NE(label->editor(), nullptr);
    EXPECT_EQ(label->editBuffer(), QStringLiteral("Work"));
    QTest::keyClick(label->editor(), Qt::Key_Return);
    EXPECT_EQ(host.writes, 1);
}

TEST_F(InlineEditLabel, PencilFollowsVisibilityAndHover)
{
    using Visibility = KestuInlineEditLabel::PencilVisibility;
    auto always = make(Visibility::always, false);
    EXPECT_TRUE(always->pencil()->isVisible());

    auto onHover = make(Visibility::onHover, false);
    EXPECT_FALSE(onHover->pencil()->isVisible());
    onHover->setHovering(true);
    EXPECT_TRUE(onHover->pencil()->isVisible());
    onHover->setHovering(false);
    EXPECT_FALSE(onHover->pencil()->isVisible());
    // No pencil, yet a double-click still edits; a single click does not.
    QTest::mouseClick(onHover.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    EXPECT_FALSE(onHover->isEditing());
    QTest::mouseDClick(onHover.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    EXPECT_TRUE(onHover->isEditing());

    QTest::mouseClick(always->pencil(), Qt::LeftButton);
    EXPECT_TRUE(always->isEditing());
    EXPECT_GE(always->editor()->minimumWidth(), KestuInlineEditLabel::editorMinimumWidth);
}

TEST(InlineEditName, TrimsSpaceSeparatorsAndTabsButNotLineBreaks)
{
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral("\u00A0\u3000 a b\t\u2003")), QStringLiteral("a b"));
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral("\nname\n")), QStringLiteral("\nname\n"));
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QStringLiteral(" \t ")), QString());
    EXPECT_EQ(KestuInlineEditLabel::trimmedName(QString()), QString());
}
