#pragma once

#include <QTimeEdit>

namespace tremlor {

// The schedule's hour-and-minute picker in the forms' look: the time on a rounded tertiary
// field with up-and-down chevrons that step the hour or minute under the caret (as do the arrow
// keys and the wheel, which it takes only while it has the focus). Assistive tools read its value
// as the minutes since midnight, in the range of a day.
class TimeField final : public QTimeEdit {
    Q_OBJECT
    // Qt's spin-box accessibility reads these properties; a time edit has none of them, and
    // screen readers would be told 0 in a range of 0 to 0.
    Q_PROPERTY(int value READ minutes WRITE setMinutes)
    Q_PROPERTY(int minimum READ minimumMinutes CONSTANT)
    Q_PROPERTY(int maximum READ maximumMinutes CONSTANT)
    Q_PROPERTY(int stepSize READ stepMinutes CONSTANT)

public:
    explicit TimeField(QWidget* parent = nullptr);

    int minutes() const;
    void setMinutes(int minutes);
    int minimumMinutes() const { return 0; }
    int maximumMinutes() const { return 24 * 60 - 1; }
    int stepMinutes() const { return 1; }

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
