#pragma once

#include <QList>
#include <QWidget>

class QVariantAnimation;

namespace kestu {

// The onboarding shell's page dots: one 8-point dot per page, 8 points apart; the current one
// in the accent colour at 1.2 times the size, the others in the tertiary surface colour. A
// change of the current step springs both the colour and the size.
class KestuOnboardingStepDots final : public QWidget {
    Q_OBJECT
public:
    explicit KestuOnboardingStepDots(int count, QWidget* parent = nullptr);

    int count() const { return m_count; }
    int currentStep() const { return m_current; }
    void setCurrentStep(int step);

    // How far dot `index` is drawn as the current one: 0 (plain) … 1 (current). May overshoot
    // while the spring settles.
    double emphasis(int index) const;
    double scaleOf(int index) const { return 1.0 + 0.2 * emphasis(index); }
    QColor colorOf(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_count;
    int m_current = 0;
    int m_previous = 0;
    double m_progress = 1.0;
    QVariantAnimation* m_spring;
};

} // namespace kestu
