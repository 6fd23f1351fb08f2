#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuPressStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QVariantAnimation>

#include <memory>

using namespace kestu;
using namespace kittest;

// Each variant fills its bar (read beside its left end, away from the label) and draws its
// label in its own colour, in each appearance.
TEST(KestuButton, VariantsDrawTheirColoursInEachAppearance)
{
    const struct {
        KestuButtonVariant variant;
        bool dark;
        QColor fill, foreground;
    } cases[] = {
        { KestuButtonVariant::secondary, true, Color::surfaceSecondary().dark(), Color::text().dark() },
        { KestuButtonVariant::primary, false, QColor(0, 122, 255), Qt::white },
        { KestuButtonVariant::destructive, true, Color::danger().light(), Qt::white },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.variant) * 2 + c.dark);
        KestuButton button(QStringLiteral("Start"), QStringLiteral("magnifyingglass"), c.variant, nullptr);
        button.setPalette(palette(c.dark));
        button.resize(300, button.sizeHint().height());
        const QImage image = render(&button);
        EXPECT_TRUE(near(image.pixelColor(20, image.height() / 2), c.fill));
        bool foundForeground = false;
        for (int x = 100; x < 200 && !foundForeground; ++x)
            for (int y = 0; y < image.height() && !foundForeground; ++y)
                foundForeground = near(image.pixelColor(x, y), c.foreground, 40);
        EXPECT_TRUE(foundForeground);
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
    QTest::mouseRelease(&button, Qt::LeftButton);
    spring->setCurrentTime(spring->duration());
    EXPECT_DOUBLE_EQ(button.pressStyle()->scale(), 1.0);
    EXPECT_EQ(runs, 1);
}

// A label too long for the bar shows its start and "…", beside its symbol.
TEST(KestuButton, ALabelTooLongForTheBarEndsInAnEllipsis)
{
    const QString label = QStringLiteral("Start Tremlor for 90 minutes");
    const auto make = [](const QString& text) {
        auto button = std::make_unique<KestuButton>(
            text, QStringLiteral("magnifyingglass"), KestuButtonVariant::primary, nullptr);
        button->resize(150, button->sizeHint().height());
        return button;
    };
    const auto narrow = make(label), twin = make(QString());
    EXPECT_FALSE(shownStart(
        narrow.get(), twin.get(), [&](const QString& t) { twin->setText(t); }, label)
                     .isEmpty());
}
