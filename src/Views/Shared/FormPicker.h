#pragma once

#include <QComboBox>
#include <QVariant>

#include <functional>
#include <optional>

namespace tremlor {

// The settings forms' pop-up picker: a rounded field with the chosen item's symbol and title and
// a pair of chevrons. Showing a stored value never reports a choice; only the user's pick emits
// `chosen`, so a value the picker cannot show is never written back. The wheel picks only while
// the picker has the focus; otherwise it scrolls the form around it. A screen reader hears the
// row's label, the role and the chosen item.
class FormPicker final : public QComboBox {
    Q_OBJECT

public:
    explicit FormPicker(QWidget* parent = nullptr);

    void addItem(const QString& title, const QVariant& tag, std::optional<QString> symbol = std::nullopt);
    // Selects the item tagged `tag`, or none when no item has it.
    void showValue(const QVariant& tag);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void chosen(const QVariant& tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refreshIcons();
    // Runs `step` of the closed picker and tells a screen reader of the choice it made.
    void tellChoice(const std::function<void()>& step);
};

} // namespace tremlor
