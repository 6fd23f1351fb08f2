#pragma once

#include <QWidget>

class QVariantAnimation;

namespace tremlor {

class ActivityRing;
class StatusTitleBlock;

// The session at a glance: the ring with the remaining time (or "∞", or "Inactive") in its
// centre and, while a session runs or is paused, its title and the next application, which
// fade in, out or into each other when the session starts, stops, pauses or resumes. One
// accessibility element, without children, whose label is built from the same state it draws and
// whose description is the ring's spoken value. Its edges lie ActivityRing::bounceMargin above
// and below what it draws, whether or not the title lines show, so its neighbours keep their
// distance in every state.
class StatusHeaderView final : public QWidget {
    Q_OBJECT

public:
    struct State {
        bool isActive = false;
        bool isPausedByIdle = false;
        QString remainingTimeString;
        QString nextAppName;
        double sessionProgress = 0;
        bool isIndefiniteSession = false;
        double remainingSeconds = 0;
        bool operator==(const State&) const = default;
    };

    explicit StatusHeaderView(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(StatusHeaderView)

    void setState(const State& state);
    const State& state() const { return m_state; }

    ActivityRing* ring() const { return m_ring; }
    // The text in the ring's centre, and the spoken label of the whole block.
    QString ringText() const;
    QColor ringTextColor() const;
    QString combinedAccessibilityLabel() const;
    QString titleText() const;
    QString nextText() const;
    bool isTitleShown() const { return m_titleShown; }
    // Where the title lines are laid out (hidden while no session runs).
    QWidget* titleBlock() const;
    // The fade between the old and the new title lines (stopped when none runs).
    QVariantAnimation* titleFade() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepRoomBelow();
    void paintRingContent(QPainter& painter, const QRectF& rect) const;
    QFont ringFont() const;

    State m_state;
    ActivityRing* m_ring;
    StatusTitleBlock* m_titleBlock;
    bool m_titleShown = false;
    bool m_initialised = false;
};

} // namespace tremlor
