#pragma once

#include <QAbstractButton>

namespace tremlor {

// A compact push button in the settings forms' default style ("Select All", "Set as Default"): a
// rounded tertiary-surface pill with a hairline border and its title.
class FormButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit FormButton(const QString& title, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tremlor
