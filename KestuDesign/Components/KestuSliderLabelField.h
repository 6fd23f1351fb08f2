#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QLineEdit>

namespace kestu {

// The slider's typeable value label: always 56 points wide, right-aligned monospaced digits
// with the unit, ending in "…" when they do not fit. Tab reaches it like any text field, and
// focusing it by Tab or by a click selects just the number; typing keeps to number characters
// and the unit; every way of ending an edit in which the user typed commits (snapped to the
// step, held in the range), while merely passing through writes nothing; a press anywhere
// outside it ends the edit first and still reaches its target. Text set from outside (an
// assistive tool) while the label is not being edited is a whole entry, committed at once;
// during an edit it is part of it.
class KestuSliderLabelField final : public QLineEdit {
    Q_OBJECT

public:
    KestuSliderLabelField(KestuBinding<double> value, double lower, double upper, double step, const QString& suffix,
        int fractionDigits, QWidget* parent = nullptr);
    ~KestuSliderLabelField() override;

    // The label text for a value: its number and unit, or for a value beyond the range the
    // bound it passes after ">" or "<" (">50 px"), short enough for the label.
    QString formattedValue(double value) const;
    // The number part of a label text: trimmed, without the unit, or reduced to number
    // characters.
    QString numericPart(const QString& text) const;
    // Shows the bound value unless the user is editing.
    void refresh();
    bool isEditing() const { return m_editing; }
    bool hasClickOutsideMonitor() const { return m_monitorInstalled; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void onTextChanged();
    // Ends the edit: a number typed in it is stored snapped and clamped, then the label shows
    // the stored value again.
    void commitEdit();
    void installClickOutsideMonitor();
    void removeClickOutsideMonitor();

    KestuBinding<double> m_value;
    double m_lower;
    double m_upper;
    double m_step;
    QString m_suffix;
    int m_fractionDigits;
    bool m_editing = false;
    bool m_typed = false;
    bool m_filtering = false;
    bool m_ownChange = false;
    bool m_reselectOnRelease = false;
    bool m_monitorInstalled = false;
};

} // namespace kestu
