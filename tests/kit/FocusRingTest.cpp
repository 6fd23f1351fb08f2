#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QLabel>

#include <functional>
#include <memory>

using namespace kestu;
using namespace kittest;

// Each control reached by Tab draws the ring: its drawing differs from the same control without
// the focus, and the accent shows on its edge, apart from the control inside it (an accent fill
// too). A control the mouse focused draws as if unfocused.
TEST(KestuFocusRing, TabDrawsTheRingAndAClickDoesNot)
{
    const MotionOverride reduced(true);
    QPalette light = palette(false);
    struct Control {
        QWidget* root;
        QWidget* target;
    };
    const auto alone = [](QWidget* w) { return Control { w, w }; };
    const auto toggle
        = [&](bool on) { return alone(new KestuToggleSwitch(KestuBinding<bool>::of(std::make_shared<bool>(on)))); };
    const auto button
        = [&](KestuButtonVariant v) { return alone(new KestuButton(QStringLiteral("Start"), std::nullopt, v, {})); };
    const auto shellButton = [](const char* name) {
        auto* shell = new KestuOnboardingShell(3, {}, [](int step) { return new QLabel(QString::number(step)); });
        shell->findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click(); // Back shows
        return Control { shell, shell->findChild<QAbstractButton*>(QLatin1String(name)) };
    };
    const std::pair<const char*, std::function<Control()>> controls[] = {
        { "switch off", [&] { return toggle(false); } },
        { "switch on", [&] { return toggle(true); } },
        { "primary button", [&] { return button(KestuButtonVariant::primary); } },
        { "secondary button", [&] { return button(KestuButtonVariant::secondary); } },
        { "Continue", [&] { return shellButton("onboarding-primary"); } },
        { "Back", [&] { return shellButton("onboarding-back"); } },
    };
    for (const auto& [name, make] : controls) {
        for (const bool byTab : { true, false }) {
            SCOPED_TRACE(std::string(name) + (byTab ? " by Tab" : " by click"));
            const Control c = make();
            if (!byTab && !(c.target->focusPolicy() & Qt::ClickFocus))
                continue; // a click never focuses it
            KitWindow w(c.root, true);
            w.window.setPalette(light);
            w.show();
            if (byTab) {
                w.other->setFocus();
                for (int i = 0; i < 4 && !c.target->hasFocus(); ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else {
                QTest::mouseClick(c.target, Qt::LeftButton, {}, QPoint(4, c.target->height() / 2));
            }
            ASSERT_TRUE(c.target->hasFocus());
            const QImage focused = render(c.target);
            c.target->clearFocus();
            const QImage unfocused = render(c.target);
            EXPECT_EQ(focused != unfocused, byTab);
            if (byTab) { // half-way down: the ring, then what parts it from the control
                const QColor accent = Color::accent().resolve(c.target);
                EXPECT_TRUE(near(focused.pixelColor(1, focused.height() / 2), accent, 40));
                EXPECT_FALSE(near(focused.pixelColor(3, focused.height() / 2), accent, 40));
            }
        }
    }
}
