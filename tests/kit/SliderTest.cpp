#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Utilities/KestuNumeric.h"
#include "KitTestSupport.h"

#include <QAccessible>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <limits>
#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
// A slider in an active window, its track 200 points wide, with a button below it.
struct SliderWindow : KitWindow {
    std::shared_ptr<double> value;
    KestuSlider* slider;

    SliderWindow(double initial, double lower, double upper, double step, const QString& suffix = "s", int digits = 0,
        std::optional<QColor> tint = std::nullopt)
        : value(std::make_shared<double>(initial))
        , slider(new KestuSlider(KestuBinding<double>::of(value), lower, upper, step, suffix, digits, tint))
    {
        layout->insertWidget(0, slider);
        window.setFixedWidth(200 + 8 + 56);
        show();
    }
    QWidget* track() const { return slider->track(); }
    KestuSliderLabelField* label() const { return slider->label(); }
    QString shown() const { return KestuNumeric::format(*value, 0, QStringLiteral("s")); }

    void press(QPointF at) { sendMouse(track(), QEvent::MouseButtonPress, at); }
    void dragTo(double x)
    {
        sendMouse(track(), QEvent::MouseMove, QPointF(x, 10));
        sendMouse(track(), QEvent::MouseButtonRelease, QPointF(x, 10), Qt::NoButton);
    }
    void dragThumbTo(double x)
    {
        press(slider->thumbRect().center());
        dragTo(x);
    }
    // Types `text` over the label's number, as the user editing it.
    void typeIntoLabel(const QString& text)
    {
        label()->setFocus();
        label()->selectAll();
        QTest::keyClick(label(), Qt::Key_Delete);
        QTest::keyClicks(label(), text);
    }
};
} // namespace

// Steps count from the lower end's zero and the value stays in range; a press away from the
// thumb does nothing.
TEST(KestuSlider, DraggingTheThumbSnapsToTheStepAndStaysInRange)
{
    SliderWindow w(10, 10, 120, 5);
    ASSERT_EQ(w.track()->width(), 200);
    // At 80 (40 %): 10 + 110 × 0.4 = 54, snapped to 55; past either end, the bound.
    for (const auto& [x, value] : { std::pair { 80.0, 55.0 }, { -50.0, 10.0 }, { 500.0, 120.0 } }) {
        w.dragThumbTo(x);
        EXPECT_EQ(*w.value, value);
        EXPECT_EQ(w.label()->text(), w.shown());
    }
    w.press(QPointF(20, 10));
    w.dragTo(20);
    EXPECT_EQ(*w.value, 120);

    SliderWindow z(1, 1, 10, 3, QString());
    z.dragThumbTo(200);
    EXPECT_EQ(*z.value, 9); // never 10
}

TEST(KestuSlider, HugeOrNonFiniteValuesDrawAndLabelSafelyAndAZeroWidthTrackIgnoresDrags)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value, fraction;
        const char* label;
    } cases[] = {
        { 1e300, 1.0, ">50 s" }, // beyond 1…50: the bound it passes, in a few characters
        { -1e300, 0.0, "<1 s" },
        { inf, 1.0, ">50 s" },
        { -inf, 0.0, "<1 s" },
        { std::numeric_limits<double>::quiet_NaN(), 0.0, nullptr },
        { 9.3e18, 1.0, ">50 s" },
        { 120, 1.0, ">50 s" }, // the thumb stays at the end of the track
        { -2.5, 0.0, "<1 s" },
        { 29.9, 28.9 / 49, "29 s" },
    };
    for (const auto& c : cases) {
        SliderWindow w(c.value, 1, 50, 1);
        EXPECT_DOUBLE_EQ(w.slider->drawnFraction(), c.fraction) << c.value;
        EXPECT_LE(w.slider->thumbRect().right(), w.track()->width());
        EXPECT_EQ(c.label ? w.label()->text() : QString(), QString::fromUtf8(c.label));
        EXPECT_FALSE(w.track()->grab().isNull());
    }
    EXPECT_EQ(KestuNumeric::format(1e300, 0, QString()).size(), 301);
    SliderWindow imported(1e300, 1, 50, 1);
    imported.label()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(imported.label()->selectedText(), QStringLiteral(">50"));
    imported.other->setFocus();
    EXPECT_EQ(*imported.value, 1e300) << "showing it and passing through keep the stored value";

    SliderWindow out(120, 1, 50, 1);
    out.dragThumbTo(100);
    EXPECT_EQ(*out.value, 26) << "the next drag brings an outside value back into the range";

    // A number too long for the label shows its start and "…" rather than being cut.
    SliderWindow big(1234567, 0, 1e7, 1);
    auto* twin = new KestuSliderLabelField(KestuBinding<double>::constant(0), 0, 1e7, 1, QStringLiteral("s"), 0);
    big.layout->addWidget(twin);
    big.other->setFocus();
    // The twin only displays: text set on it unannounced is no entry.
    const auto display = [twin](const QString& t) {
        const QSignalBlocker quiet(twin);
        twin->setText(t);
    };
    EXPECT_FALSE(shownStart(big.label(), twin, display, big.label()->text()).isEmpty());

    SliderWindow flat(30, 1, 50, 1);
    flat.window.setFixedWidth(64);
    flat.window.layout()->activate();
    ASSERT_EQ(flat.track()->width(), 0);
    flat.press(QPointF(0, 10));
    EXPECT_EQ(*flat.value, 30);
}

// A click selects the number; typing stores nothing until Return or leaving; a letter is
// refused in place; the stored value is snapped and clamped, and a non-number changes nothing.
TEST(KestuSliderLabel, ShowsTheUnitSelectsTheNumberAndCommitsSnappedAndClamped)
{
    EXPECT_EQ(SliderWindow(2.5, 0, 10, 0.5, "s", 2).label()->text(), QStringLiteral("2.50 s"));

    SliderWindow w(30, 1, 50, 1);
    QTest::mouseClick(w.label(), Qt::LeftButton, {}, QPoint(40, 8));
    EXPECT_EQ(w.label()->selectedText(), QStringLiteral("30"));
    QTest::keyClicks(w.label(), QStringLiteral("45"));
    EXPECT_EQ(w.label()->text(), QStringLiteral("45 s"));
    EXPECT_EQ(*w.value, 30);
    QTest::keyClick(w.label(), Qt::Key_Return);
    EXPECT_EQ(*w.value, 45);
    EXPECT_FALSE(w.label()->hasFocus());
    w.label()->setFocus();
    w.label()->setCursorPosition(2);
    QTest::keyClick(w.label(), Qt::Key_Q);
    EXPECT_EQ(w.label()->text(), QStringLiteral("45 s"));
    EXPECT_EQ(w.label()->cursorPosition(), 2);

    const struct {
        double lower, upper, step;
        const char* typed;
        double stored;
    } entries[] = {
        { 1, 50, 1, "200", 50 },
        { 0, 100, 5, "7", 5 },
        { 0, 100, 5, "12.5", 15 }, // halves away from zero, not to even
        { -100, 100, 5, "-12.5", -15 },
        { 0, 100, 5, "-", 42 },
        { 0, 100, 5, "", 42 },
        { 0, 100, 5, "1.2.3", 42 },
    };
    for (const auto& e : entries) {
        SliderWindow s(42, e.lower, e.upper, e.step);
        s.typeIntoLabel(QString::fromUtf8(e.typed));
        s.other->setFocus(Qt::MouseFocusReason); // leaving commits
        EXPECT_EQ(*s.value, e.stored) << e.typed;
        EXPECT_EQ(s.label()->text(), s.shown()) << e.typed;
    }
}

// Outside changes wait for the edit; a click elsewhere commits it and still reaches its target;
// a press on the thumb commits first, then drags.
TEST(KestuSliderLabel, OutsideChangesWaitAndAnyClickOutsideCommitsFirst)
{
    SliderWindow w(30, 1, 50, 1);
    w.typeIntoLabel(QStringLiteral("12"));
    *w.value = 20;
    w.slider->refresh();
    EXPECT_EQ(w.label()->text(), QStringLiteral("12"));
    EXPECT_TRUE(w.label()->hasClickOutsideMonitor());
    int clicks = 0;
    QObject::connect(w.other, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(w.other, Qt::LeftButton);
    EXPECT_EQ(*w.value, 12);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(w.label()->hasClickOutsideMonitor());

    w.typeIntoLabel(QStringLiteral("50"));
    const QPointF thumb = w.slider->thumbRect().center();
    w.press(thumb);
    EXPECT_EQ(*w.value, *w.slider->valueForDrag(thumb.x())) << "a commit after the drag would leave 50";
    EXPECT_EQ(w.label()->text(), w.shown());
    EXPECT_FALSE(w.label()->isEditing());
    w.dragTo(0);
    EXPECT_EQ(*w.value, 1);
}

// Tab stops on the track, where the arrow keys step the value to the next multiple of the step
// (from a value off the step, to its neighbour), Page Up and Page Down move it a tenth of the
// range, Home and End to the ends, never leaving the range; then on the label,
// whose edit works as after a click. Tabbing through the label writes nothing. The wheel steps
// the value while the track has the keyboard, and otherwise passes on to the scrolling form.
TEST(KestuSlider, KeyboardAloneStepsTheTrackAndEditsTheLabel)
{
    SliderWindow w(30, 10, 120, 5);
    w.other->setFocus();
    const QImage unfocused = render(w.track());
    QTest::keyClick(w.other, Qt::Key_Tab);
    ASSERT_TRUE(w.track()->hasFocus());
    EXPECT_NE(render(w.track()), unfocused) << "keyboard focus shows";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double from;
        Qt::Key key;
        double stored;
    } steps[] = { { 30, Qt::Key_Right, 35 }, { 30, Qt::Key_Up, 35 }, { 30, Qt::Key_Left, 25 }, { 30, Qt::Key_Down, 25 },
        { 37, Qt::Key_Left, 35 }, { 37, Qt::Key_Right, 40 }, { 120, Qt::Key_Up, 120 }, { 10, Qt::Key_Down, 10 },
        { 500, Qt::Key_Down, 120 }, { 30, Qt::Key_PageUp, 40 }, { 37, Qt::Key_PageDown, 25 },
        { 115, Qt::Key_PageUp, 120 }, { 15, Qt::Key_PageDown, 10 }, { nan, Qt::Key_PageUp, 20 },
        { 30, Qt::Key_Home, 10 }, { 30, Qt::Key_End, 120 }, { nan, Qt::Key_Right, 15 } };
    for (const auto& s : steps) {
        *w.value = s.from;
        w.slider->refresh();
        QTest::keyClick(w.track(), s.key);
        EXPECT_EQ(*w.value, s.stored) << s.from << " " << s.key;
        EXPECT_EQ(w.label()->text(), w.shown());
    }
    // The wheel steps the slider whose track has the keyboard, over the track or the label.
    // As Qt hands on the mouse's wheel: to the widget under the pointer, then up while ignored.
    const auto wheel = [](QWidget* over, int angle) {
        for (QWidget* to = over; to; to = to->isWindow() ? nullptr : to->parentWidget()) {
            QWheelEvent event(QPointF(4, 4), over->mapToGlobal(QPointF(4, 4)), {}, QPoint(0, angle), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            if (QApplication::sendEvent(to, &event) && event.isAccepted())
                return true;
        }
        return false;
    };
    EXPECT_TRUE(wheel(w.track(), 120));
    EXPECT_TRUE(wheel(w.label(), -240));
    EXPECT_EQ(*w.value, 10);
    EXPECT_TRUE(wheel(w.track(), 60) && wheel(w.track(), 60));
    EXPECT_EQ(*w.value, 15);

    QTest::keyClick(w.track(), Qt::Key_Tab);
    ASSERT_TRUE(w.label()->hasFocus());
    EXPECT_EQ(w.label()->selectedText(), QStringLiteral("15"));
    QTest::keyClicks(w.label(), QStringLiteral("47"));
    QTest::keyClick(w.label(), Qt::Key_Return);
    EXPECT_EQ(*w.value, 45);
    // Without the keyboard, the wheel is the scrolling form's.
    EXPECT_FALSE(wheel(w.track(), 120) || wheel(w.label(), 120));
    EXPECT_EQ(*w.value, 45);

    *w.value = 37; // off the step, as an imported value may be
    w.slider->refresh();
    w.track()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.track(), Qt::Key_Tab);
    QTest::keyClick(w.label(), Qt::Key_Tab);
    EXPECT_FALSE(w.label()->hasFocus());
    EXPECT_EQ(*w.value, 37);
}

// To assistive tools the track is a slider named after its row, with its range and value, and
// the label an editable text of the same name. Setting the value or stepping it stores it
// snapped and clamped.
TEST(KestuSlider, AssistiveToolsSeeANamedSliderTheyCanSetAndStep)
{
    SliderWindow w(30, 10, 120, 5);
    w.slider->setName(QStringLiteral("Idle threshold"));
    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(w.track());
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    EXPECT_TRUE(slider->state().focusable);
    EXPECT_EQ(slider->text(QAccessible::Name), QStringLiteral("Idle threshold"));
    EXPECT_EQ(slider->text(QAccessible::Value), QStringLiteral("30 s"));
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(w.label())->text(QAccessible::Name), QStringLiteral("Idle threshold"));
    QAccessibleValueInterface* value = slider->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toDouble(), 10);
    EXPECT_EQ(value->maximumValue().toDouble(), 120);
    EXPECT_EQ(value->minimumStepSize().toDouble(), 5);
    EXPECT_EQ(value->currentValue().toDouble(), 30);

    const std::pair<QVariant, double> entries[]
        = { { 47.0, 45 }, { 1000, 120 }, { -3, 10 }, { QStringLiteral("x"), 10 } };
    for (const auto& [entered, stored] : entries) {
        value->setCurrentValue(entered);
        EXPECT_EQ(*w.value, stored) << entered.toString().toStdString();
        EXPECT_EQ(w.label()->text(), w.shown());
    }
    slider->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(*w.value, 15);
    slider->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(*w.value, 10);
    // An imported value beyond the range reads as the bound it passes, as the label shows it.
    *w.value = 1e300;
    EXPECT_EQ(value->currentValue().toDouble(), 120);
    EXPECT_EQ(slider->text(QAccessible::Value), QStringLiteral(">120 s"));
}

// The fill is drawn in the tint the host passes, else in the accent, in both appearances.
TEST(KestuSlider, FillTakesTheHostsTintElseTheAccent)
{
    const QColor orange(QStringLiteral("darkorange"));
    const auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    for (const bool dark : { false, true })
        for (const std::optional<QColor>& tint : { std::optional<QColor>(), std::optional<QColor>(orange) }) {
            SliderWindow w(150, 1, 300, 1, QStringLiteral("s"), 0, tint);
            w.window.setPalette(palette(dark));
            const QColor accent = Color::accent().resolve(w.track());
            const QColor fill = render(w.track()).pixelColor(60, 10);
            const QColor expected = tint.value_or(accent), other = tint ? accent : orange;
            EXPECT_LT(distance(fill, expected), distance(fill, other) / 3) << dark << " " << tint.has_value();
        }
}

// Text an assistive tool sets on the label is an entry (snapped, clamped, shown with its unit; a
// non-number changes nothing), or while the label is edited, part of the edit.
TEST(KestuSliderLabel, TextSetByAnAssistiveToolIsAnEntry)
{
    for (const auto& [text, stored, editing] : { std::tuple { "45", 45.0, false }, { "47 s", 45.0, false },
             { "200", 120.0, false }, { "abc", 30.0, false }, { "45", 45.0, true } }) {
        SliderWindow w(30, 10, 120, 5);
        (editing ? static_cast<QWidget*>(w.label()) : w.other)->setFocus();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w.label());
        a->editableTextInterface()->replaceText(0, a->textInterface()->characterCount(), QString::fromUtf8(text));
        EXPECT_EQ(*w.value, editing ? 30 : stored) << text;
        if (editing)
            QTest::keyClick(w.label(), Qt::Key_Return);
        EXPECT_EQ(*w.value, stored) << text;
        EXPECT_EQ(w.label()->text(), w.shown()) << text;
    }
}
