#pragma once

#include "KestuDesign/Components/KestuFooterToolbar.h"

#include <QAbstractButton>

class QVariantAnimation;

namespace kestu {

// A footer toolbar button: the action's symbol (14 points, secondary text colour) padded by 4
// points; hovering fades in a rounded tertiary fill, pressing springs it down to 0.92.
class KestuFooterButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit KestuFooterButton(const KestuFooterAction& action, QWidget* parent = nullptr);

    const KestuFooterAction& action() const { return m_action; }
    // Takes a new action value with the same id (its symbol, tooltip and closure may differ).
    void setAction(const KestuFooterAction& action);

    bool isHovering() const { return m_hovering; }
    // How much of the hover fill shows (0 … 1), and the drawn scale (1, or 0.92 pressed).
    double hoverFill() const { return m_fill; }
    double pressScale() const { return m_scale; }
    QColor fillColor() const;

    static constexpr int symbolSize = 14;
    static constexpr int padding = 4;
    static constexpr double pressedScale = 0.92;

    QSize sizeHint() const override;

    // What the tooltip shows: the text as it is, never read as markup.
    static QString tooltipMarkup(const QString& tooltip);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void setHovering(bool hovering);
    void followPressed();
    void run();

    KestuFooterAction m_action;
    bool m_hovering = false;
    bool m_shrunk = false;
    double m_fill = 0.0;
    double m_scale = 1.0;
    QVariantAnimation* m_fade;
    QVariantAnimation* m_spring;
};

} // namespace kestu
