#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QAbstractButton>
#include <QWidget>

class QLabel;
class QVariantAnimation;

namespace kestu {

// The platform's control sizes: a small control is drawn at 0.7 of the regular one.
enum class KestuControlSize { regular, small };

// The kit's on/off switch: a 44 × 26 track (accent when on, surfaceTertiary when off) with a
// white 20-point knob that springs from one end to the other. A click anywhere on it flips the
// bound flag. It is checkable, and checked exactly while the flag it shows is on. At the small
// control size the same switch is 31 × 18.
class KestuToggleSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    explicit KestuToggleSwitch(
        KestuBinding<bool> isOn, QWidget* parent = nullptr, KestuControlSize size = KestuControlSize::regular);

    // Follows the binding (animated when it changed), as a redraw would.
    void refresh();
    // 0 = knob at the leading end, 1 = at the trailing end.
    double position() const { return m_position; }
    QVariantAnimation* animation() const { return m_animation; }
    QColor trackColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void animateTo(bool on);

    KestuBinding<bool> m_isOn;
    bool m_shown = false;
    double m_position = 0;
    // Drawn at the regular size, scaled by this.
    double m_scale = 1;
    QVariantAnimation* m_animation;
};

// A toggle row in the kit's style: its label, free space, then the switch. The label is not a
// click target.
class KestuToggleStyle final : public QWidget {
    Q_OBJECT

public:
    KestuToggleStyle(const QString& label, KestuBinding<bool> isOn, QWidget* parent = nullptr);

    KestuToggleSwitch* toggleSwitch() const { return m_switch; }
    QLabel* label() const { return m_label; }
    void refresh();

private:
    QLabel* m_label;
    KestuToggleSwitch* m_switch;
};

} // namespace kestu
