#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QAbstractButton>

class QVariantAnimation;

namespace tremlor {

// The full-width "More options" / "Fewer options" row with a chevron that turns down while
// the options are shown. A click anywhere on the row flips the bound value.
class DisclosureToggle final : public QAbstractButton {
    Q_OBJECT

public:
    explicit DisclosureToggle(kestu::KestuBinding<bool> isExpanded, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DisclosureToggle)

    // Shows the bound value after the host changed it (the chevron turns with the spring).
    void refresh();
    bool isExpanded() const { return m_expanded; }
    double chevronAngle() const { return m_angle; }
    QString labelText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void flip();
    void turnChevron(bool immediately);

    kestu::KestuBinding<bool> m_binding;
    bool m_expanded = false;
    double m_angle = 0;
    QVariantAnimation* m_turn;
};

} // namespace tremlor
