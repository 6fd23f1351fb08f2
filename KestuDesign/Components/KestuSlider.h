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
// value in the range.
class KestuSlider final : public QWidget {
    Q_OBJECT

public:
    KestuSlider(KestuBinding<double> value, double lower, double upper, double step, const QString& suffix,
        int fractionDigits, std::optional<QColor> tintColor, QWidget* parent = nullptr);

    // Redraws from the binding and shows its value in the label unless it is being edited.
    void refresh();

    QWidget* track() const;
    KestuSliderLabelField* label() const { return m_label; }
    // Where the thumb is drawn, as a fraction of the travel: clamped to 0…1, and 0 for a value
    // that is not a number.
    double drawnFraction() const;
    // The thumb's rectangle in the track's coordinates.
    QRectF thumbRect() const;
    // The value a drag to `x` (track coordinates) gives, or nothing for a track of no width.
    std::optional<double> valueForDrag(double x) const;

private:
    class Track;

    KestuBinding<double> m_value;
    double m_lower;
    double m_upper;
    double m_step;
    std::optional<QColor> m_tint;
    Track* m_track;
    KestuSliderLabelField* m_label;
};

} // namespace kestu
