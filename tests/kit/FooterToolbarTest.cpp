#include "KestuDesign/Components/KestuFooterButton.h"
#include "KestuDesign/Components/KestuFooterToolbar.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitCompositeSupport.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QVariantAnimation>

#include <memory>

using namespace kestu;

namespace {
KestuFooterAction makeAction(
    const QString& tooltip, std::optional<QString> id, std::function<void()> run = {}, std::optional<Qt::Key> key = {})
{
    return KestuFooterAction(QStringLiteral("gearshape"), tooltip, key, Qt::NoModifier, std::move(id), std::move(run));
}

class FooterToolbar : public CompositeTest { };
} // namespace

TEST_F(FooterToolbar, ActionsKeepTheirIdentityAndButtonsTheirLabels)
{
    const KestuFooterAction a = makeAction(QStringLiteral("Settings"), QStringLiteral("settings-button"));
    const KestuFooterAction b = makeAction(QStringLiteral("Settings"), QStringLiteral("settings-button"));
    const KestuFooterAction copy = a;
    EXPECT_NE(a.id(), b.id());
    EXPECT_EQ(a.id(), copy.id());

    KestuFooterToolbar bar({ a, makeAction(QStringLiteral("Quit <b>now</b>"), std::nullopt) },
        { makeAction(QStringLiteral("Help"), QStringLiteral("help-button")) });
    const auto buttons = bar.buttons();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[0]->objectName(), QStringLiteral("settings-button"));
    // No identifier given: the empty one, not a leftover name.
    EXPECT_EQ(buttons[1]->objectName(), QString());
    EXPECT_EQ(buttons[2]->objectName(), QStringLiteral("help-button"));
    for (KestuFooterButton* button : buttons) {
        EXPECT_EQ(button->toolTip(), button->action().tooltip());
        EXPECT_EQ(button->accessibleName(), button->toolTip());
    }
    EXPECT_EQ(buttons[1]->toolTip(), QStringLiteral("Quit <b>now</b>"));
    // Shown as written, not as bold markup.
    bar.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), buttons[1]->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(buttons[1], &help);
    EXPECT_EQ(QToolTip::text(), KestuFooterButton::tooltipMarkup(QStringLiteral("Quit <b>now</b>")));
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;b&gt;")));
    QToolTip::hideText();
}

TEST_F(FooterToolbar, ClickRunsTheActionButItsShortcutDoesNothing)
{
    int runs = 0;
    QWidget window;
    auto* bar
        = new KestuFooterToolbar({ makeAction(
                                     QStringLiteral("Save"), QStringLiteral("save"), [&] { ++runs; }, Qt::Key_S) },
            {}, &window);
    window.resize(300, 60);
    bar->resize(300, 44);
    window.show();
    QTest::keyClick(&window, Qt::Key_S);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(runs, 0);
    QTest::mouseClick(bar->buttons()[0], Qt::LeftButton);
    EXPECT_EQ(runs, 1);
}

TEST_F(FooterToolbar, RebuildingKeepsButtonsOfActionsThatStay)
{
    const KestuFooterAction stays = makeAction(QStringLiteral("Stay"), QStringLiteral("stay"));
    KestuFooterToolbar bar({ stays, makeAction(QStringLiteral("Go"), {}) }, {});
    KestuFooterButton* kept = bar.buttons()[0];
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(kept, &enter);
    ASSERT_TRUE(kept->isHovering());

    bar.setActions({ makeAction(QStringLiteral("New"), {}) }, { stays });
    ASSERT_EQ(bar.buttons().size(), 2);
    EXPECT_EQ(bar.buttons()[1], kept);
    EXPECT_TRUE(kept->isHovering());
}

TEST_F(FooterToolbar, AnActionMayRebuildTheBarThatHoldsIt)
{
    QWidget window;
    auto* bar = new KestuFooterToolbar({}, {}, &window);
    int runs = 0;
    bar->setLeading({ makeAction(QStringLiteral("Clear"), QStringLiteral("clear"), [&] {
        ++runs;
        bar->setLeading({});
    }) });
    window.show();
    QTest::mouseClick(bar->buttons()[0], Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(bar->buttons().isEmpty());
}
