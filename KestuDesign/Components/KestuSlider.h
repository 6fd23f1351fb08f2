#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QColor>
#include <QWidget>

#include <optional>

namespace kestu {

class KestuSliderLabelField;

// The kit's slider for a numeric setting: a 20-point track (5-point capsule, gradient fill,
// 16-point white thumb) and, 8 points after it, the typeable value label. Dragging the thumb
// and typing both snap to the step (counted from zero, halves away from zero) and hold the
// value in the range. Tab reaches the track, then the label. On the track the arrow keys step
// the value (Left and Down one step down, Right and Up one step up), Page Up and Page Down move
// it a tenth of the range (snapped), Home and End to the ends, and the wheel steps it too while
// the track has the keyboard (otherwise the wheel is the scrolling form's); assistive tools see
// a slider with its range and value, which they can set or step.
class KestuSlider final : public QWidget {
    Q_OBJECT

public:
    KestuSlider(KestuBinding<double> value, double lower, double upper, double step, const QString& suffix,
        int fractionDigits, std::optional<QColor> tintColor, QWidget* parent = nullptr);

    // Redraws from the binding and shows its value in the label unless it is being edited.
    void refresh();
    // Names the track and the label for assistive tools, after the row that holds the slider.
    void setName(const QString& name);

    QWidget* track() const;
    KestuSliderLabelField* label() const { return m_label; }
    // Where the thumb is drawn, as a fraction of the travel: clamped to 0…1, and 0 for a value
    // that is not a number.
    double drawnFraction() const;
    // The thumb's rectangle in the track's coordinates.
    QRectF thumbRect() const;
    // The value a drag to `x` (track coordinates) gives, or nothing for a track of no width.
    std::optional<double> valueForDrag(double x) const;
    // The value one step up (or down) from the bound one: the next multiple of the step, held
    // in the range. A value that is not a number steps from the lower bound.
    double steppedValue(bool up) const;
    // The value a tenth of the range (at least one step) up or down from the bound one, before
    // it is snapped and held in the range. A value that is not a number pages from the lower
    // bound.
    double pagedValue(bool up) const;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    class Track;
    class TrackAccessible;
    // Writes `value` snapped and clamped, as a drag or an entry does.
    void store(double value);
    // Writes `value` as it is (the ends of the range, which need not lie on a step).
    void storeExactly(double value);

    KestuBinding<double> m_value;
    double m_lower;
    double m_upper;
    double m_step;
    std::optional<QColor> m_tint;
    Track* m_track;
    KestuSliderLabelField* m_label;
    int m_wheelAngle = 0;
};

} // namespace kestu
