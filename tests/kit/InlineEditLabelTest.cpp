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

TEST_F(InlineEditLabel, CommitStoresTheNameWithoutSurroundingSpacesAndTabs)
{
    auto label = make();
    KestuTextField* editor = typeInto(*label, QStringLiteral(" \t Deep  focus\t "));
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(label->isEditing());
    // The bound name is written by the commit only, not while typing.
    EXPECT_EQ(host.writes, 0);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(host.name, QStringLiteral("Deep  focus"));
    EXPECT_EQ(host.writes, 1);
    EXPECT_EQ(host.commits, 1);
    EXPECT_FALSE(label->isEditing());
    EXPECT_EQ(label->displayedText(), QStringLiteral("Deep  focus"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(label->editor(), nullptr);
}

TEST_F(InlineEditLabel, BlankOrUnchangedCommitsStillReportButKeepTheName)
{
    auto label = make();
    QTest::keyClick(typeInto(*label, QStringLiteral("   ")), Qt::Key_Return);
    EXPECT_EQ(host.name, QStringLiteral("Work"));
    EXPECT_EQ(host.writes, 0);
    EXPECT_EQ(host.commits, 1);
    EXPECT_FALSE(label->isEditing());

    QTest::keyClick(typeInto(*label, QString()), Qt::Key_Return);
    EXPECT_EQ(host.name, QStringLiteral("Work"));
    EXPECT_EQ(host.commits, 2);

    // The same text again is written again.
    QTest::mouseDClick(label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    ASSERT_NE(label->editor(), nullptr);
    EXPECT_EQ(label->editBuffer(), QStringLiteral("Work"));
    QTest::keyClick(label->editor(), Qt::Key_Return);
    EXPECT_EQ(host.writes, 1);
    EXPECT_EQ(host.commits, 3);
}

TEST_F(InlineEditLabel, CancelLeavesWithoutWritingOrReporting)
{
    auto label = make();
    KestuTextField* editor = typeInto(*label, QStringLiteral("Other"));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(label->isEditing());
    EXPECT_EQ(host.name, QStringLiteral("Work"));
    EXPECT_EQ(host.writes, 0);
    EXPECT_EQ(host.commits, 0);
    EXPECT_EQ(label->displayedText(), QStringLiteral("Work"));
    // The editor is retired: a late commit from it changes nothing.
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(host.commits, 0);
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
