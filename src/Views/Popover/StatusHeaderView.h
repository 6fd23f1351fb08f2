#pragma once

#include <QWidget>

class QLabel;

namespace tremlor {

class ActivityRing;

// The session at a glance: the ring with the remaining time (or "∞", or "Inactive") in its
// centre and, while a session runs or is paused, its title and the next application. One
// accessibility element whose label is built from the same state it draws.
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

protected:
    void changeEvent(QEvent* event) override;

private:
    void paintRingContent(QPainter& painter, const QRectF& rect) const;
    QFont ringFont() const;
    void applyColors();

    State m_state;
    ActivityRing* m_ring;
    QWidget* m_titleBlock;
    QLabel* m_title;
    QLabel* m_next;
    bool m_titleShown = false;
    bool m_initialised = false;
};

} // namespace tremlor
