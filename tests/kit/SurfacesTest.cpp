#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuHoverEffect.h"
#include "KestuDesign/Components/KestuSectionHeader.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "KitTestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
// A widget filled with one colour.
class Solid final : public QWidget {
public:
    explicit Solid(QColor color)
        : m_color(color)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_color);
    }

private:
    QColor m_color;
};
} // namespace

TEST(KestuCard, FillsClipsAtTheCornersAndKeepsItsBorderInside)
{
    QWidget host;
    host.setPalette(lightPalette());
    host.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* plain = new KestuCard(false, new QWidget, &host);
    auto* bordered = new KestuCard(true, new Solid(Qt::red), &host);
    layout->addWidget(plain);
    layout->addWidget(bordered);
    host.resize(120, 120);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    const QImage card = render(plain);
    EXPECT_TRUE(near(card.pixelColor(card.width() / 2, card.height() / 2), Color::surfaceSecondary().light()));
    EXPECT_TRUE(near(card.pixelColor(0, 0), QColor(236, 236, 236))) << "the corner shows what is behind the card";

    // Content larger than the rounded shape is cut off at the corners; the middle is content.
    const QImage clipped = host.grab(bordered->geometry()).toImage();
    EXPECT_FALSE(near(clipped.pixelColor(0, 0), Qt::red, 60));
    EXPECT_TRUE(near(clipped.pixelColor(clipped.width() / 2, clipped.height() / 2), Qt::red));
    // The border line lies inside the card: its outermost row of pixels at mid-width is
    // touched by it, and nothing is drawn outside its geometry.
    EXPECT_FALSE(near(clipped.pixelColor(clipped.width() / 2, 0), Qt::red, 0));
}

TEST(KestuToggleStyle, ClickFlipsTheBindingAndTheKnobSpringsAcross)
{
    const MotionOverride motion(false);
    auto on = std::make_shared<bool>(false);
    KestuToggleStyle toggle(QStringLiteral("Launch at login"), KestuBinding<bool>::of(on));
    toggle.setPalette(lightPalette());
    toggle.resize(300, 30);
    toggle.show();
    KestuToggleSwitch* sw = toggle.toggleSwitch();
    // A screen reader hears a check box that is checked exactly while the value is on.
    const auto readsOn = [sw] {
        const QAccessible::State state = QAccessible::queryAccessibleInterface(sw)->state();
        EXPECT_TRUE(state.checkable);
        return bool(state.checked);
    };
    EXPECT_FALSE(readsOn());
    EXPECT_EQ(sw->position(), 0.0);
    EXPECT_EQ(sw->trackColor(), Color::surfaceTertiary().light());
    // The knob is white, 20 points across, 3 points in from the leading end.
    QImage image = render(sw);
    EXPECT_TRUE(near(image.pixelColor(13, 13), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(31, 13), Color::surfaceTertiary().light()));

    // The label is not a click target.
    QTest::mouseClick(toggle.label(), Qt::LeftButton);
    EXPECT_FALSE(*on);

    QTest::mouseClick(sw, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(*on);
    EXPECT_TRUE(readsOn());
    sw->animation()->setCurrentTime(sw->animation()->duration());
    EXPECT_DOUBLE_EQ(sw->position(), 1.0);
    EXPECT_EQ(sw->trackColor().rgb(), QColor(0, 122, 255).rgb());
    image = render(sw);
    EXPECT_TRUE(near(image.pixelColor(31, 13), Qt::white));

    // A second click puts the value back.
    QTest::mouseClick(sw, Qt::LeftButton);
    EXPECT_FALSE(*on);
    sw->animation()->setCurrentTime(sw->animation()->duration());
    EXPECT_DOUBLE_EQ(sw->position(), 0.0);

    // A change made elsewhere shows after refresh.
    *on = true;
    toggle.refresh();
    sw->animation()->setCurrentTime(sw->animation()->duration());
    EXPECT_DOUBLE_EQ(sw->position(), 1.0);
    EXPECT_TRUE(readsOn());

    // A value that refuses the change stays off, for the reader too.
    KestuToggleSwitch refusing(KestuBinding<bool>::constant(false));
    refusing.click();
    EXPECT_FALSE(refusing.isChecked());
}
