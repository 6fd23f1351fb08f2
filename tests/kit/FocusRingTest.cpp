#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QLabel>
#include <QPainter>

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
        // One page for every step, so a click on Continue leaves the keyboard there.
        auto* shell = new KestuOnboardingShell(3, {}, [page = new QLabel](int) { return page; });
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

namespace {
// The lower contrast of the ring whose outer edge is at `edge`: its outer line against the colour
// above, its innermost line (the outer one where no inner line shows) against what it covers.
double ringContrast(const QImage& ringed, const QImage& plain, QPoint edge)
{
    const QPoint outer = edge + QPoint(0, 1), inner = edge + QPoint(0, 2);
    const QPoint innermost = contrastRatio(ringed.pixelColor(inner), plain.pixelColor(inner)) > 1.5 ? inner : outer;
    return std::min(contrastRatio(ringed.pixelColor(outer), ringed.pixelColor(edge - QPoint(0, 4))),
        contrastRatio(ringed.pixelColor(innermost), plain.pixelColor(innermost)));
}
} // namespace

// The ring keeps 3:1 against the colour painted around it (the window, or the raised surface of
// a panel, card or sidebar) and the fill it lies on, light and dark, with an accent that stands
// out from the window and one that does not: painted on any fill, and by the controls, text
// fields included.
TEST(KestuFocusRing, StandsOutFromTheWindowAndTheFillInBothAppearances)
{
    const MotionOverride reduced(true);
    for (const auto& [dark, accent] : { std::pair { false, QColor(0, 122, 255) }, { false, QColor(0x3d, 0xae, 0xe9) },
             { true, QColor(10, 132, 255) }, { true, QColor(0x1d, 0x4f, 0x91) } }) {
        SCOPED_TRACE(testing::Message() << dark << accent.name().toStdString());
        QPalette p = palette(dark);
        p.setColor(QPalette::Highlight, accent);
        for (const QColor& outside : { p.color(QPalette::Window), Color::surfaceSecondary().resolve(p) }) {
            for (const QColor& fill : { QColor(), accent, QColor(Qt::white), QColor(Qt::black), QColor(Qt::gray),
                     withOpacity(accent, 0.08) }) {
                QImage plain(60, 40, QImage::Format_ARGB32);
                plain.fill(outside);
                QPainter(&plain).fillRect(QRect(10, 10, 40, 20), fill.isValid() ? fill : outside);
                QImage ringed = plain;
                QPainter painter(&ringed);
                paintFocusRing(painter, QRectF(10, 10, 40, 20), 6, accent, outside, fill);
                painter.end();
                EXPECT_GE(ringContrast(ringed, plain, QPoint(30, 10)), 3.0) << fill.name(QColor::HexArgb).toStdString();
            }
        }

        for (const bool onCard : { false, true }) {
            SCOPED_TRACE(onCard ? "on a card" : "on the window");
            auto* button = new KestuButton(QStringLiteral("Start"), std::nullopt, KestuButtonVariant::primary, {});
            auto* toggle = new KestuToggleSwitch(KestuBinding<bool>::constant(true));
            auto* slider = new KestuSlider(KestuBinding<double>::constant(150), 1, 300, 1, QStringLiteral("s"), 0, {});
            const auto text = KestuBinding<QString>::constant(QStringLiteral("ab"));
            auto* search = new KestuSettingsSearchField(text, QString());
            auto* panelSearch = new KestuSearchField(text, QString());
            auto* field = new KestuTextField(QString(), text, std::nullopt, Qt::AlignLeft, false, false, false, {}, {});
            auto* shell = new KestuOnboardingShell(2, {}, [](int) { return new QLabel; });
            auto* surface = new QWidget;
            auto* column = new QVBoxLayout(surface);
            column->setContentsMargins(8, 8, 8, 8);
            column->setSpacing(8);
            for (QWidget* control :
                std::initializer_list<QWidget*> { button, toggle, slider, search, panelSearch, field, shell })
                column->addWidget(control, 0, Qt::AlignLeft);
            KitWindow w(onCard ? new KestuCard(false, surface) : surface, true);
            QWidget* primary = shell->findChild<QWidget*>(QStringLiteral("onboarding-primary"));
            w.window.setPalette(p);
            w.show();
            QTest::keyClick(w.other, Qt::Key_Tab); // the window now shows keyboard focus
            // The ring's top where the control draws nothing else: a switch's track clear of the
            // knob; a search box's ring goes round the whole box.
            const std::tuple<QWidget*, QWidget*, QPoint> rings[]
                = { { button, button, { button->width() / 2, 0 } }, { toggle, toggle, { 17, 0 } },
                      { slider->track(), slider->track(), slider->thumbRect().topLeft().toPoint() + QPoint(8, 0) },
                      { search->clearButton(), search->clearButton(), { search->clearButton()->width() / 2, 0 } },
                      { search->lineEdit(), search, { search->width() / 2, 0 } },
                      { panelSearch->textField(), panelSearch, { panelSearch->width() / 2, 0 } },
                      { field, field, { field->width() / 2, 0 } }, { primary, primary, { 12, 0 } } };
            for (const auto& [control, edge, top] : rings) {
                control->setFocus();
                const QImage focused = render(&w.window);
                w.other->setFocus();
                EXPECT_GE(ringContrast(focused, render(&w.window), edge->mapTo(&w.window, top)), 3.0)
                    << control->metaObject()->className();
            }
        }
    }
}
