#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"
#include "Views/Shared/ExpandButton.h"

class QVariantAnimation;

namespace tremlor {

// The full-width "More options" / "Fewer options" row with a chevron that turns down while
// the options are shown. A click anywhere on the row flips the bound value.
class DisclosureToggle final : public ExpandButton {
    Q_OBJECT

public:
    explicit DisclosureToggle(kestu::KestuBinding<bool> expanded, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DisclosureToggle)

    // Shows the bound value after the host changed it (the chevron turns with the spring).
    void refresh();
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
    double m_angle = 0;
    QVariantAnimation* m_turn;
};

} // namespace tremlor
