#pragma once

#include <QAbstractButton>

namespace tremlor {

// A compact push button for the settings forms ("Select All", "Set as Default"): a rounded
// tertiary-surface pill with its title, or filled with the product accent when `prominent`.
class FormButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit FormButton(const QString& title, bool prominent = false, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_prominent;
};

} // namespace tremlor
