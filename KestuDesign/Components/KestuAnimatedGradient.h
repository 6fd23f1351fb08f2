#pragma once

#include <QColor>
#include <QLineF>
#include <QList>
#include <QWidget>

class QVariantAnimation;

namespace kestu {

// A decorative linear gradient whose axis swings, ease-in-out and for ever, between the two
// diagonals of its frame (or between other ends a host gives it); one sweep lasts `duration`
// seconds.
class KestuAnimatedGradient final : public QWidget {
    Q_OBJECT
public:
    // The axis at each end of the swing, in unit points of the frame ((0, 0) the top-leading
    // corner, y downwards); in between, both of its points move straight with the phase.
    struct AxisEnds {
        QLineF atZero { 0, 0, 1, 1 };
        QLineF atOne { 1, 0, 0, 1 };
    };

    KestuAnimatedGradient(QList<QColor> colors, double duration, QWidget* parent = nullptr);

    const AxisEnds& axisEnds() const { return m_axisEnds; }
    void setAxisEnds(const AxisEnds& ends);

    const QList<QColor>& colors() const { return m_colors; }
    double duration() const { return m_duration; }

    // The drawn position of the swing: 0 is the top-leading diagonal, 1 the top-trailing one.
    double phase() const { return m_phase; }

    // The gradient's axis in widget coordinates at a phase: by default from (p, 0) to
    // (1 - p, 1) of the frame.
    QLineF axisAt(double phase) const;

    // Phase after `elapsedMs` of swinging with sweeps of `durationMs` (eased there and back).
    static double phaseAt(qint64 elapsedMs, qint64 durationMs);

    // Length of one sweep in whole milliseconds, or 0 when the duration cannot animate
    // (not finite, not positive, or under a millisecond).
    static qint64 sweepMilliseconds(double durationSeconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QList<QColor> m_colors;
    double m_duration;
    AxisEnds m_axisEnds;
    double m_phase = 0.0;
    qint64 m_sweepMs;
    QVariantAnimation* m_swing;
};

} // namespace kestu
