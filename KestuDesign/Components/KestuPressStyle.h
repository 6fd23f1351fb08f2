#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QVariantAnimation;

namespace kestu {

class KestuTransitionEffect;

// The kit's pressed feedback for any button: while pressed it shrinks to 97 % about its centre
// with the snappy spring, and springs back on release. A button at rest carries no graphics
// effect, so a container that fades itself with one can still draw it.
class KestuPressStyle final : public QObject {
    Q_OBJECT

public:
    static constexpr double pressedScale = 0.97;

    // Gives `button` the pressed feedback; the style belongs to the button.
    static KestuPressStyle* attach(QAbstractButton* button);

    double scale() const { return m_scale; }
    // The running spring, for tests that step it.
    QVariantAnimation* animation() const { return m_animation; }

private:
    explicit KestuPressStyle(QAbstractButton* button);
    void animateTo(double target);
    void setScale(double scale);

    QPointer<QAbstractButton> m_button;
    // Present only while the button is scaled.
    QPointer<KestuTransitionEffect> m_effect;
    QVariantAnimation* m_animation = nullptr;
    double m_scale = 1.0;
};

} // namespace kestu
