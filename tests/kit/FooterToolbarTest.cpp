#include "KestuDesign/Components/KestuFooterButton.h"
#include "KestuDesign/Components/KestuFooterToolbar.h"
#include "KitCompositeSupport.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QToolTip>

using namespace kestu;

namespace {
KestuFooterAction makeAction(const QString& tooltip, std::optional<QString> id = {}, std::function<void()> run = {},
    std::optional<Qt::Key> key = {})
{
    return KestuFooterAction(QStringLiteral("gearshape"), tooltip, key, Qt::NoModifier, std::move(id), std::move(run));
}

class FooterToolbar : public CompositeTest { };
} // namespace

// Each action is its own even with equal fields; a button without an identifier has an empty
// name, not a leftover; a tooltip is shown as written, not as markup; each list keeps to its
// own edge.
TEST_F(FooterToolbar, ActionsKeepTheirIdentityAndButtonsTheirLabels)
{
    const KestuFooterAction a = makeAction(QStringLiteral("Settings"), QStringLiteral("settings-button"));
    EXPECT_NE(a.id(), makeAction(QStringLiteral("Settings"), QStringLiteral("settings-button")).id());

    KestuFooterToolbar bar({ a }, { makeAction(QStringLiteral("Quit <b>now</b>")) });
    const auto buttons = bar.buttons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[1]->objectName(), QString());
    EXPECT_EQ(buttons[1]->accessibleName(), QStringLiteral("Quit <b>now</b>"));
    bar.resize(300, bar.sizeHint().height());
    bar.show();
    EXPECT_GT(buttons[1]->x() - buttons[0]->geometry().right(), 200);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), buttons[1]->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(buttons[1], &help);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;b&gt;"))) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

// Rebuilding keeps the button (and its hover, until the pointer leaves) of an action that
// stays; an action may rebuild the very bar that holds it; a click runs an action, its shortcut does nothing.
TEST_F(FooterToolbar, RebuildingKeepsButtonsOfActionsThatStayEvenFromTheirOwnAction)
{
    const KestuFooterAction stays = makeAction(QStringLiteral("Stay"), QStringLiteral("stay"));
    QWidget window;
    auto* bar = new KestuFooterToolbar({ stays, makeAction(QStringLiteral("Go")) }, {}, &window);
    KestuFooterButton* kept = bar->buttons()[0];
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(kept, &enter);
    ASSERT_TRUE(kept->isHovering());
    bar->setActions({ makeAction(QStringLiteral("New")) }, { stays });
    ASSERT_EQ(bar->buttons().size(), 2);
    EXPECT_EQ(bar->buttons()[1], kept);
    EXPECT_TRUE(kept->isHovering());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(kept, &leave);
    EXPECT_FALSE(kept->isHovering());

    int runs = 0;
    bar->setLeading({ makeAction(
        QStringLiteral("Clear"), QStringLiteral("clear"),
        [&] {
            ++runs;
            bar->setActions({}, {});
        },
        Qt::Key_S) });
    window.show();
    QTest::keyClick(&window, Qt::Key_S);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(runs, 0);
    QTest::mouseClick(bar->buttons()[0], Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(bar->buttons().isEmpty());
}
