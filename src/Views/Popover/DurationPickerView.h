#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"
#include "Models/Duration.h"

#include <QAbstractButton>
#include <QList>
#include <QWidget>

class QVariantAnimation;

namespace tremlor {

// One capsule of the duration row: the preset's short label, filled with the product gradient
// while selected. Its look moves with the snappy spring between the two states.
class DurationChip final : public QAbstractButton {
    Q_OBJECT

public:
    DurationChip(const Duration& duration, QWidget* parent = nullptr);

    const Duration& duration() const { return m_duration; }
    // The selected look (and the accessible selected state), animated unless `immediately`.
    void setSelected(bool selected, bool immediately);
    bool isSelected() const { return m_selected; }
    // The pulse's scale target: 1.04 while pulsing, else 1.
    void setPulsing(bool pulsing, bool immediately);
    double selectedness() const { return m_selectedness; }
    double pulseScale() const { return m_scale; }

    // Room left around the capsule so its pulse is not cut off.
    static constexpr int pulseMargin = 1;

    QSize sizeHint() const override;

Q_SIGNALS:
    // An arrow key asks for the chip `step` places along the row.
    void stepRequested(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void animate(QVariantAnimation*& animation, double& value, double target, bool immediately);

    Duration m_duration;
    bool m_selected = false;
    double m_selectedness = 0;
    double m_scale = 1;
    QVariantAnimation* m_selectionMove = nullptr;
    QVariantAnimation* m_scaleMove = nullptr;
};

// The row of seven duration chips, in the order of the presets (digit n picks chip n): one
// group of radio buttons. It owns no duration: the panel's choice comes in as a binding, which
// a chip writes when it is checked (a click, Space, an assistive tool's Toggle) and the arrow
// keys write as they move along the row; a chip then shows whether it holds the binding's
// value, so exactly one chip (none for a custom length) is checked.
class DurationPickerView final : public QWidget {
    Q_OBJECT

public:
    explicit DurationPickerView(kestu::KestuBinding<Duration> selectedDuration, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DurationPickerView)

    // Shows the binding's current value (after the host changed it), with the row's spring
    // unless `animated` is false.
    void refresh(bool animated = true);
    const QList<DurationChip*>& chips() const { return m_chips; }
    bool isPulsing() const { return m_scaleSelected; }

    // The pulse's length before the chip springs back.
    static constexpr int pulseMs = 150;

private:
    void choose(const Duration& duration);
    void moveChoice(DurationChip* from, int step);
    void triggerScalePulse();
    void setScaleSelected(bool value);

    kestu::KestuBinding<Duration> m_selected;
    QList<DurationChip*> m_chips;
    bool m_scaleSelected = false;
};

} // namespace tremlor
