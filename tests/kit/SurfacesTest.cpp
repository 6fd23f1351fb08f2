#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuHoverEffect.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QVariantAnimation>

#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
struct Solid final : QWidget {
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};
} // namespace

TEST(KestuCard, ClipsAtTheCornersAndKeepsItsBorderInside)
{
    auto* plain = new KestuCard(false, new QWidget);
    auto* bordered = new KestuCard(true, new Solid);
    KitWindow w(plain);
    w.layout->insertWidget(1, bordered);
    w.window.setPalette(palette(false));
    w.window.resize(120, 150);
    w.show();

    EXPECT_TRUE(near(render(plain).pixelColor(0, 0), QColor(236, 236, 236)))
        << "the corner shows what is behind the card";
    // Content is cut off at the rounded corners, and the border line lies inside the card.
    const QImage clipped = w.window.grab(bordered->geometry()).toImage();
    EXPECT_FALSE(near(clipped.pixelColor(0, 0), Qt::red, 60));
    EXPECT_TRUE(near(clipped.pixelColor(clipped.width() / 2, clipped.height() / 2), Qt::red));
    EXPECT_FALSE(near(clipped.pixelColor(clipped.width() / 2, 0), Qt::red, 0));
}

// A row lights only while the pointer is over it: clear before the first hover and after it leaves.
TEST(KestuHoverEffect, LightsTheRowOnlyWhileThePointerIsOverIt)
{
    const MotionOverride motion(true);
    QWidget row;
    row.setPalette(palette(true));
    kestuHoverEffect(&row);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent none(QEvent::None), leave(QEvent::Leave);
    for (QEvent* event : { &none, static_cast<QEvent*>(&enter), &leave }) {
        QCoreApplication::sendEvent(&row, event);
        EXPECT_NE(near(render(&row).pixelColor(30, 10), row.palette().color(QPalette::Window)), event == &enter);
    }
}

// Only the switch is a click target; the knob springs across; outside changes show.
TEST(KestuToggleStyle, ClickFlipsTheBindingAndTheKnobSpringsAcross)
{
    const MotionOverride motion(false);
    auto on = std::make_shared<bool>(false);
    KestuToggleStyle toggle(QStringLiteral("Launch at login"), KestuBinding<bool>::of(on));
    toggle.setPalette(palette(false));
    toggle.resize(300, 30);
    toggle.show();
    KestuToggleSwitch* sw = toggle.toggleSwitch();
    // A screen reader hears a check box that is checked exactly while the value is on.
    const auto settle = [sw](double position) {
        sw->animation()->setCurrentTime(sw->animation()->duration());
        EXPECT_DOUBLE_EQ(sw->position(), position);
        const QAccessible::State state = QAccessible::queryAccessibleInterface(sw)->state();
        EXPECT_EQ(bool(state.checked), position > 0);
        EXPECT_TRUE(near(render(sw).pixelColor(position > 0 ? 31 : 13, 13), Qt::white)); // the knob's centre
    };
    QTest::mouseClick(toggle.label(), Qt::LeftButton);
    EXPECT_FALSE(*on);
    QTest::mouseClick(sw, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(*on);
    settle(1.0);
    QTest::mouseClick(sw, Qt::LeftButton);
    EXPECT_FALSE(*on);
    settle(0.0);
    *on = true;
    toggle.refresh();
    settle(1.0);

    // A value that refuses the change stays off, for the reader too.
    KestuToggleSwitch refusing(KestuBinding<bool>::constant(false));
    refusing.click();
    EXPECT_FALSE(refusing.isChecked());
}

// A switch changed by the keyboard or by an assistive tool's Toggle action stores the change
// exactly as a click does, and shows what the binding kept.
TEST(KestuToggleStyle, EveryWayOfTogglingStoresWhatItShows)
{
    const MotionOverride motion(true);
    auto on = std::make_shared<bool>(false);
    auto* toggle = new KestuToggleStyle(QStringLiteral("Play sound"), KestuBinding<bool>::of(on));
    KitWindow w(toggle);
    w.show();
    KestuToggleSwitch* sw = toggle->toggleSwitch();
    const std::function<void()> ways[] = {
        [sw] { QTest::mouseClick(sw, Qt::LeftButton); },
        [sw] {
            sw->setFocus();
            QTest::keyClick(sw, Qt::Key_Space);
        },
        [sw] {
            QAccessible::queryAccessibleInterface(sw)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
        },
    };
    for (const auto& way : ways) {
        const bool before = *on;
        way();
        EXPECT_NE(*on, before);
        EXPECT_EQ(sw->isChecked(), *on);
    }
    KestuToggleSwitch refusing(KestuBinding<bool>::constant(false));
    QAccessible::queryAccessibleInterface(&refusing)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(refusing.isChecked());
}

// The track takes the accent when on and surfaceTertiary when off, in both appearances (read
// beside the knob).
TEST(KestuToggleStyle, TrackIsTheAccentWhenOnAndTertiaryWhenOff)
{
    for (const bool dark : { false, true })
        for (const bool on : { false, true }) {
            KestuToggleSwitch sw(KestuBinding<bool>::constant(on));
            sw.setPalette(palette(dark));
            const QColor expected = (on ? Color::accent() : Color::surfaceTertiary()).resolve(&sw);
            EXPECT_TRUE(near(render(&sw).pixelColor(on ? 8 : 36, 13), expected)) << dark << on;
        }
}
