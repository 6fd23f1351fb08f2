#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class QVariantAnimation;

namespace tremlor {

// The session ring: a faint track, an arc for the elapsed fraction and a centre drawn by its
// creator. It breathes during an indefinite session, pulses in the last minute of a timed one
// and bounces on completion; reduced motion stops every one of these motions. While hidden it
// runs no animation at all. A frame of a motion repaints only what moved: the stretch of the
// ring where the arc's end went (nothing while it moved less than half a pixel), or the whole
// ring when its opacity or scale changed; the track and centre come from a cached image.
class ActivityRing final : public QWidget {
    Q_OBJECT

public:
    struct Inputs {
        double progress = 0;
        bool isActive = false;
        bool isPaused = false;
        bool isIndefinite = false;
        double remainingSeconds = 0;
        bool operator==(const Inputs&) const = default;
    };
    // Draws the centre view inside the ring's square (the whole ring's opacity and scale apply).
    using Content = std::function<void(QPainter&, const QRectF&)>;

    ActivityRing(double size, double lineWidth, Content content, QWidget* parent = nullptr);
    ~ActivityRing() override;
    Q_DISABLE_COPY_MOVE(ActivityRing)

    // Room around the ring for the completion bounce and the stroke's outer half.
    static constexpr int bounceMargin = 6;

    // New inputs; the change handlers run for what changed, in the ring's order.
    void setInputs(const Inputs& inputs);
    const Inputs& inputs() const { return m_inputs; }

    // The fraction to which the arc is trimmed, and what the parts of the ring show now.
    double effectiveProgress() const;
    double animatedProgress() const { return m_animatedProgress; }
    double infinitePulse() const { return m_infinitePulse; }
    double completionScale() const { return m_completionScale; }
    double urgentOpacity() const { return m_urgentOpacity; }
    // The opacity the whole ring is drawn with (the pulse applies only in the last minute).
    double drawnOpacity() const;
    // The spoken value: "Not active", "Infinite session active" or "<n> percent complete".
    QString accessibilityProgressValue() const;

    // The running motions, for tests that step them (null while none runs).
    QVariantAnimation* breathingAnimation() const { return m_breathing; }
    QVariantAnimation* urgencyAnimation() const { return m_urgency; }
    QVariantAnimation* progressAnimation() const { return m_progressMove; }
    QVariantAnimation* bounceAnimation() const { return m_bounce; }

    // The centre's text or colour changed: redraw it (every other input repaints by itself).
    void contentChanged();
    // What the arc's end sweeps between two fractions, in the ring's coordinates.
    QRect arcEndRect(double from, double to) const;

    // Starts the indefinite session's breathing unless it already runs.
    void startInfinitePulse();
    // The desktop's reduced-motion preference changed: stop or resume the repeating motions.
    void motionPreferenceChanged();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Asks for the repaint that the arc's new fraction needs, if any is visible.
    void arcMoved();
    // Asks for a whole repaint when the ring's drawn opacity visibly changed.
    void opacityMoved();
    double drawnFraction() const;
    double drawnScale() const;
    void drawBackdrop(QPainter& painter, const QRectF& ring) const;
    const QPixmap& backdrop();
    void drawArc(QPainter& painter, const QRectF& ring, double fraction) const;
    void onRemainingSecondsChanged();
    void onProgressChanged();
    void onActiveChanged();
    void onAppear();
    void onIndefiniteChanged();
    void moveProgressTo(double target, bool bouncy);
    void setAnimatedProgress(double value);
    void startUrgencyPulse();
    void stopUrgencyPulse();
    void stopBreathing();
    void runCompletionBounce();
    void stopAll();
    bool inUrgencyWindow() const;

    double m_size;
    double m_lineWidth;
    Content m_content;
    Inputs m_inputs;

    double m_animatedProgress = 0;
    double m_infinitePulse = 0.3;
    double m_completionScale = 1.0;
    double m_urgentOpacity = 1.0;

    // What the last requested repaint shows, to tell visible steps from invisible ones.
    double m_requestedFraction = 0;
    int m_requestedAlpha = 255;
    QPixmap m_backdrop;
    QPixmap m_pulsed;
    double m_pulsedFraction = -1;

    QVariantAnimation* m_progressMove = nullptr;
    QVariantAnimation* m_breathing = nullptr;
    QVariantAnimation* m_urgency = nullptr;
    QVariantAnimation* m_bounce = nullptr;
};

// A drawable value: not finite reads as 0, and the result lies in 0…1.
double clampedFraction(double value);

} // namespace tremlor
