#pragma once

#include <QTimeEdit>

namespace tremlor {

// The schedule's hour-and-minute picker in the forms' look: the time on a rounded tertiary
// field with up-and-down chevrons that step the hour or minute under the caret (as do the arrow
// keys and the wheel, which it takes only while it has the focus).
class TimeField final : public QTimeEdit {
    Q_OBJECT

public:
    explicit TimeField(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyColors();
    QRect stepperRect() const;
};

} // namespace tremlor
