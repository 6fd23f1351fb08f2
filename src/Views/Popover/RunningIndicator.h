#pragma once

#include <QWidget>

class QVariantAnimation;

namespace tremlor {

// The green dot beside a running application in the panel's list. While that application is
// the one the session keeps in front, the dot breathes slowly between full opacity and 0.6;
// with reduced motion, or hidden, it holds still at full opacity and runs no timer.
class RunningIndicator final : public QWidget {
    Q_OBJECT

public:
    explicit RunningIndicator(bool isActiveTarget = false, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(RunningIndicator)

    static constexpr int diameter = 6;
    static constexpr double restingOpacity = 1.0;
    static constexpr double pulseLowOpacity = 0.6;
    // One way of the pulse, in milliseconds; it then reverses, forever.
    static constexpr int pulseHalfPeriodMs = 2000;

    bool isActiveTarget() const { return m_isActiveTarget; }
    // Starts or stops the pulse only when the value changes, so redraws never restart it.
    void setActiveTarget(bool isActiveTarget);

    // The opacity the dot is drawn with now.
    double pulseOpacity() const;
    bool isPulsing() const;
    // The running pulse, for tests that step it.
    QVariantAnimation* pulse() const { return m_pulse; }

    QSize sizeHint() const override { return { diameter, diameter }; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startPulseIfWanted();
    void stopPulse();

    bool m_isActiveTarget;
    QVariantAnimation* m_pulse;
    int m_drawnAlpha = 255;
};

} // namespace tremlor
