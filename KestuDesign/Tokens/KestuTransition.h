#pragma once

#include <QGraphicsEffect>

namespace kestu {

class KestuAnimation;

// How a view enters and leaves: any mix of a fade, a scale about the centre and a move from
// an edge. Each token call builds a new value.
class KestuTransition final {
public:
    // What the transition draws at one moment.
    struct Frame {
        double opacity = 1;
        double scale = 1;
        double dy = 0; // downward offset, in the view's own heights
    };

    // Scale from/to 0.95 about the centre, with a fade.
    static KestuTransition kestuScale();
    // From/to the bottom edge, with a fade, both ways.
    static KestuTransition kestuSlideUp();
    static KestuTransition kestuFade();

    // presence 0 = fully out, 1 = fully in.
    Frame frameAt(double presence, bool insertion) const;

    // Shows `widget` and plays the insertion; hides it at the end of the removal. Reduced
    // motion makes both immediate.
    void insert(QWidget* widget, const KestuAnimation& animation) const;
    void remove(QWidget* widget, const KestuAnimation& animation) const;

    bool operator==(const KestuTransition&) const = default;

private:
    KestuTransition(bool fade, double scale, bool bottom);

    bool m_fade;
    double m_scale;
    bool m_bottom;
};

// Draws a widget with a transition frame applied.
class KestuTransitionEffect final : public QGraphicsEffect {
    Q_OBJECT

public:
    explicit KestuTransitionEffect(QObject* parent = nullptr);
    void setFrame(const KestuTransition::Frame& frame);
    KestuTransition::Frame frame() const { return m_frame; }

protected:
    void draw(QPainter* painter) override;

private:
    KestuTransition::Frame m_frame;
};

} // namespace kestu
