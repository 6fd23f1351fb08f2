#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QAbstractButton;
class QLabel;

namespace tremlor {

// The settings forms' stepper: a label that shows the value, then a pair of small "−" and "+"
// segments for the mouse. To the keyboard and to a screen reader it is one control, a spin button
// with one Tab stop: Up and Down, "+" and "−" step it; at a limit a key changes nothing and the
// keyboard stays on it. It shows the value it is given as it is, even one outside its range; only
// a step reports a choice, and a step lands inside the range.
class FormStepper final : public QWidget {
    Q_OBJECT

public:
    FormStepper(std::int64_t minimum, std::int64_t maximum, std::function<QString(std::int64_t)> label,
        QWidget* parent = nullptr);

    void showValue(std::int64_t value);
    std::int64_t value() const { return m_value; }
    std::int64_t minimum() const { return m_minimum; }
    std::int64_t maximum() const { return m_maximum; }
    // Reports `value`, held in the range, when it differs from the shown value.
    void choose(std::int64_t value);
    // Chooses the value one step up or down from the shown one.
    void stepBy(int delta);

    QLabel* label() const { return m_label; }
    QAbstractButton* decrementButton() const { return m_minus; }
    QAbstractButton* incrementButton() const { return m_plus; }

Q_SIGNALS:
    void chosen(std::int64_t value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();

    std::int64_t m_minimum;
    std::int64_t m_maximum;
    std::int64_t m_value;
    std::function<QString(std::int64_t)> m_labelText;
    QLabel* m_label;
    QAbstractButton* m_minus;
    QAbstractButton* m_plus;
};

} // namespace tremlor
