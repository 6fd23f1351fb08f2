#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuSliderLabelField.h"
#include "KestuDesign/Utilities/KestuNumeric.h"
#include "KitTestSupport.h"

#include <cmath>
#include <limits>
#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
// A slider in an active window, its track 200 points wide, with a button beside it.
struct SliderValue {
    std::shared_ptr<double> value;
};
struct SliderWindow : SliderValue, KitWindow {
    KestuSlider* slider;

    SliderWindow(double initial, double lower, double upper, double step, const QString& suffix, int digits)
        : SliderValue { std::make_shared<double>(initial) }
        , KitWindow(new KestuSlider(KestuBinding<double>::of(value), lower, upper, step, suffix, digits, std::nullopt))
        , slider(static_cast<KestuSlider*>(layout->itemAt(0)->widget()))
    {
        window.setFixedWidth(200 + 8 + 56);
        show();
    }

    QWidget* track() const { return slider->track(); }
    KestuSliderLabelField* label() const { return slider->label(); }

    void dragThumbTo(double x)
    {
        const QPointF thumb = slider->thumbRect().center();
        sendMouse(track(), QEvent::MouseButtonPress, thumb);
        sendMouse(track(), QEvent::MouseMove, QPointF(x, 10));
        sendMouse(track(), QEvent::MouseButtonRelease, QPointF(x, 10), Qt::NoButton);
    }
};
} // namespace

TEST(KestuSlider, DraggingTheThumbSnapsToTheStepAndStaysInRange)
{
    SliderWindow w(10, 10, 120, 5, QStringLiteral("s"), 0);
    ASSERT_EQ(w.track()->width(), 200);
    w.dragThumbTo(80); // 40 %: 10 + 110 × 0.4 = 54, snapped to 55
    EXPECT_EQ(*w.value, 55);
    EXPECT_EQ(w.label()->text(), QStringLiteral("55 s"));
    w.dragThumbTo(-50);
    EXPECT_EQ(*w.value, 10);
    w.dragThumbTo(500);
    EXPECT_EQ(*w.value, 120);

    // A press on the track away from the thumb does nothing.
    sendMouse(w.track(), QEvent::MouseButtonPress, QPointF(20, 10));
    sendMouse(w.track(), QEvent::MouseButtonRelease, QPointF(20, 10), Qt::NoButton);
    EXPECT_EQ(*w.value, 120);

    // Steps count from zero: range 1 to 10 with step 3 never gives 10.
    SliderWindow z(1, 1, 10, 3, QString(), 0);
    z.dragThumbTo(0);
    EXPECT_EQ(*z.value, 1);
    z.dragThumbTo(200);
    EXPECT_EQ(*z.value, 9);
}

TEST(KestuSlider, HugeOrNonFiniteValuesDrawAndLabelSafelyAndAZeroWidthTrackIgnoresDrags)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        double fraction;
        const char* label;
    };
    const Case cases[] = {
        { 1e300, 1.0, nullptr },
        { -1e300, 0.0, nullptr },
        { inf, 1.0, "inf s" },
        { -inf, 0.0, "-inf s" },
        { nan, 0.0, nullptr },
        { 9.3e18, 1.0, "9300000000000000000 s" },
        { 120, 1.0, "120 s" }, // beyond 1…50: the thumb stays at the end of the track
        { -2.5, 0.0, "-2 s" },
    };
    for (const Case& c : cases) {
        SliderWindow w(c.value, 1, 50, 1, QStringLiteral("s"), 0);
        EXPECT_DOUBLE_EQ(w.slider->drawnFraction(), c.fraction) << c.value;
        EXPECT_LE(w.slider->thumbRect().right(), w.track()->width());
        if (c.label) {
            EXPECT_EQ(w.label()->text(), QString::fromUtf8(c.label));
        }
        EXPECT_FALSE(w.track()->grab().isNull());
    }
    EXPECT_EQ(KestuNumeric::format(1e300, 0, QString()).size(), 301);

    // The next drag brings an outside value back into the range.
    SliderWindow out(120, 1, 50, 1, QStringLiteral("px"), 0);
    out.dragThumbTo(100);
    EXPECT_EQ(*out.value, 26);

    // A track squeezed to no width changes nothing.
    SliderWindow flat(30, 1, 50, 1, QStringLiteral("s"), 0);
    flat.window.setFixedWidth(64);
    flat.window.layout()->activate();
    ASSERT_EQ(flat.track()->width(), 0);
    EXPECT_EQ(flat.slider->valueForDrag(0), std::nullopt);
    sendMouse(flat.track(), QEvent::MouseButtonPress, QPointF(0, 10));
    EXPECT_EQ(*flat.value, 30);
}

TEST(KestuSliderLabel, ShowsTheUnitSelectsTheNumberAndCommitsSnappedAndClamped)
{
    SliderWindow twoDigits(2.5, 0, 10, 0.5, QStringLiteral("s"), 2);
    EXPECT_EQ(twoDigits.label()->text(), QStringLiteral("2.50 s"));
    SliderWindow bare(7, 0, 10, 1, QString(), 0);
    EXPECT_EQ(bare.label()->text(), QStringLiteral("7"));

    SliderWindow w(30, 1, 50, 1, QStringLiteral("s"), 0);
    EXPECT_EQ(w.label()->width(), 56);
    QTest::mouseClick(w.label(), Qt::LeftButton, {}, QPoint(40, 8));
    EXPECT_TRUE(w.label()->hasFocus());
    EXPECT_EQ(w.label()->selectedText(), QStringLiteral("30"));
    QTest::keyClicks(w.label(), QStringLiteral("45"));
    EXPECT_EQ(w.label()->text(), QStringLiteral("45 s"));
    EXPECT_EQ(*w.value, 30) << "nothing is stored while typing";
    QTest::keyClick(w.label(), Qt::Key_Return);
    EXPECT_EQ(*w.value, 45);
    EXPECT_EQ(w.label()->text(), QStringLiteral("45 s"));
    EXPECT_FALSE(w.label()->hasFocus());

    // A letter is removed at once and the caret stays where it was.
    w.label()->setFocus();
    w.label()->setCursorPosition(2);
    QTest::keyClick(w.label(), Qt::Key_Q);
    EXPECT_EQ(w.label()->text(), QStringLiteral("45 s"));
    EXPECT_EQ(w.label()->cursorPosition(), 2);

    struct Entry {
        double lower, upper, step;
        const char* typed;
        double stored;
    };
    const Entry entries[] = {
        { 1, 50, 1, "200", 50 },
        { 0, 100, 5, "7", 5 },
        { 0, 100, 5, "7.5", 10 }, // halves away from zero
        { 0, 100, 5, "-", 42 }, // not a number: unchanged
        { 0, 100, 5, "", 42 }, // cleared: unchanged
        { 0, 100, 5, "1.2.3", 42 },
    };
    for (const Entry& e : entries) {
        SliderWindow s(42, e.lower, e.upper, e.step, QStringLiteral("s"), 0);
        s.label()->setFocus();
        s.label()->selectAll();
        QTest::keyClick(s.label(), Qt::Key_Delete);
        QTest::keyClicks(s.label(), QString::fromUtf8(e.typed));
        s.other->setFocus(Qt::MouseFocusReason); // leaving commits
        EXPECT_EQ(*s.value, e.stored) << e.typed;
        EXPECT_EQ(s.label()->text(), KestuNumeric::format(*s.value, 0, QStringLiteral("s"))) << e.typed;
    }
}

TEST(KestuSliderLabel, OutsideChangesWaitAndAnyClickOutsideCommitsFirst)
{
    SliderWindow w(30, 1, 50, 1, QStringLiteral("s"), 0);
    w.label()->setFocus();
    w.label()->selectAll();
    QTest::keyClicks(w.label(), QStringLiteral("12"));
    *w.value = 20; // another control bound to the same setting
    w.slider->refresh();
    EXPECT_EQ(w.label()->text(), QStringLiteral("12"));
    EXPECT_TRUE(w.label()->hasClickOutsideMonitor());

    // A click on another widget of the window commits the edit and still reaches its target.
    int clicks = 0;
    QObject::connect(w.other, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(w.other, Qt::LeftButton);
    EXPECT_EQ(*w.value, 12);
    EXPECT_EQ(w.label()->text(), QStringLiteral("12 s"));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(w.label()->hasClickOutsideMonitor());

    // A press on the thumb while editing commits first, then drags.
    w.label()->setFocus();
    w.label()->selectAll();
    QTest::keyClicks(w.label(), QStringLiteral("50"));
    const QPointF thumb = w.slider->thumbRect().center();
    sendMouse(w.track(), QEvent::MouseButtonPress, thumb);
    // Committed first (a commit after the drag would leave 50), then the press already drags.
    EXPECT_EQ(*w.value, *w.slider->valueForDrag(thumb.x()));
    EXPECT_EQ(w.label()->text(), KestuNumeric::format(*w.value, 0, QStringLiteral("s")));
    EXPECT_FALSE(w.label()->isEditing());
    sendMouse(w.track(), QEvent::MouseMove, QPointF(0, 10));
    sendMouse(w.track(), QEvent::MouseButtonRelease, QPointF(0, 10), Qt::NoButton);
    EXPECT_EQ(*w.value, 1);
}
