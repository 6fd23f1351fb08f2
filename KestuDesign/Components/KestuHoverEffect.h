#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QVariantAnimation;

namespace kestu {

// Lights a widget's rounded background (8-point corners, surfaceTertiary) while the pointer is
// over it, fading in and out with fadeQuick. The fill is transparent before the first hover.
class KestuHoverEffect final : public QObject {
    Q_OBJECT

public:
    explicit KestuHoverEffect(QWidget* target);

    bool isHovering() const { return m_hovering; }
    // 0 = no fill, 1 = full fill.
    double presence() const { return m_presence; }
    // The running fade, for tests that step it.
    QVariantAnimation* animation() const { return m_animation; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setHovering(bool hovering);

    QPointer<QWidget> m_target;
    QVariantAnimation* m_animation;
    bool m_hovering = false;
    double m_presence = 0;
};

// Gives `widget` the hover effect (owned by the widget).
KestuHoverEffect* kestuHoverEffect(QWidget* widget);

} // namespace kestu
