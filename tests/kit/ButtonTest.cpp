#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuPressStyle.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "KitTestSupport.h"

#include <QVariantAnimation>

using namespace kestu;
using namespace kittest;

namespace {
// The colour a bar is filled with, read beside its left end (away from the centred label).
QColor barColor(KestuButton& button)
{
    const QImage image = render(&button);
    return image.pixelColor(20, image.height() / 2);
}
} // namespace

TEST(KestuButton, VariantsDrawTheirColoursInEachAppearance)
{
    struct Case {
        KestuButtonVariant variant;
        QPalette palette;
        QColor fill;
        QColor foreground;
    };
    const QColor white(Qt::white);
    const Case cases[] = {
        { KestuButtonVariant::secondary, lightPalette(), Color::surfaceSecondary().light(), Color::text().light() },
        { KestuButtonVariant::secondary, darkPalette(), Color::surfaceSecondary().dark(), Color::text().dark() },
        { KestuButtonVariant::primary, lightPalette(), QColor(0, 122, 255), white },
        { KestuButtonVariant::primary, darkPalette(), QColor(10, 132, 255), white },
        { KestuButtonVariant::destructive, lightPalette(), Color::danger().light(), white },
        { KestuButtonVariant::destructive, darkPalette(), Color::danger().light(), white },
    };
    for (const Case& c : cases) {
        KestuButton button(QStringLiteral("Start"), QStringLiteral("magnifyingglass"), c.variant, nullptr);
        button.setPalette(c.palette);
        button.resize(300, button.sizeHint().height());
        EXPECT_EQ(button.fillColor(), c.fill);
        EXPECT_EQ(button.foregroundColor(), c.foreground);
        EXPECT_TRUE(near(barColor(button), c.fill)) << int(c.variant);
        // The label is drawn in the foreground colour somewhere in the middle.
        const QImage image = render(&button);
        bool foundForeground = false;
        for (int x = 100; x < 200 && !foundForeground; ++x)
            for (int y = 0; y < image.height() && !foundForeground; ++y)
                foundForeground = near(image.pixelColor(x, y), c.foreground, 40);
        EXPECT_TRUE(foundForeground) << int(c.variant);
    }
}

TEST(KestuButton, RunsItsActionAndShrinksWhilePressed)
{
    const MotionOverride motion(false);
    int runs = 0;
    KestuButton button(QStringLiteral("Stop"), std::nullopt, KestuButtonVariant::primary, [&] { ++runs; });
    button.resize(280, button.sizeHint().height());
    button.show();

    QTest::mousePress(&button, Qt::LeftButton);
    QVariantAnimation* spring = button.pressStyle()->animation();
    spring->setCurrentTime(spring->duration());
    EXPECT_NEAR(button.pressStyle()->scale(), KestuPressStyle::pressedScale, 1e-9);
    // Half-way through the release spring the button is between the two sizes.
    QTest::mouseRelease(&button, Qt::LeftButton);
    spring->setCurrentTime(40);
    EXPECT_GT(button.pressStyle()->scale(), 0.97);
    spring->setCurrentTime(spring->duration());
    EXPECT_DOUBLE_EQ(button.pressStyle()->scale(), 1.0);
    EXPECT_EQ(runs, 1);
}
