#pragma once

#include <QAbstractButton>

class QVariantAnimation;

namespace tremlor {

// A plain icon button of the panel's footer: the symbol at 13 points in the secondary text
// colour on a 24-point square that takes the click; its tooltip is also its spoken label. It
// can be drawn turned about its centre (the profile icon's tilt).
class FooterIconButton final : public QAbstractButton {
    Q_OBJECT

public:
    FooterIconButton(
        const QString& symbol, const QString& tooltip, const QString& identifier, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FooterIconButton)

    static constexpr int side = 24;
    static constexpr int symbolSize = 13;

    QString symbol() const { return m_symbol; }
    double angle() const { return m_angle; }
    // Turns to `degrees` with the snappy spring, or at once.
    void turnTo(double degrees, bool immediately);

    QSize sizeHint() const override { return { side, side }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    double m_angle = 0;
    QVariantAnimation* m_turn = nullptr;
};

} // namespace tremlor
