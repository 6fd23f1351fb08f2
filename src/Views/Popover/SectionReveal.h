#pragma once

#include <QWidget>

class QVariantAnimation;

namespace kestu {
class KestuTransitionEffect;
}

namespace tremlor {

// Holds one part of the panel that comes and goes: it grows in from its top edge while the
// part fades in, and leaves the same way, with the gentle spring (at once with reduced motion).
// The panel's height follows the reveal as it moves.
class SectionReveal final : public QWidget {
    Q_OBJECT

public:
    // `topGap` is kept above the content while it shows.
    SectionReveal(QWidget* content, int topGap, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(SectionReveal)

    QWidget* content() const { return m_content; }
    // 0 = gone, 1 = fully in.
    double presence() const { return m_presence; }
    bool isRevealed() const { return m_target > 0; }
    void reveal(bool shown, bool animated);
    QVariantAnimation* animation() const { return m_animation; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setPresence(double presence);
    void placeContent();
    int fullHeight() const;

    QWidget* m_content;
    int m_topGap;
    double m_presence = 0;
    double m_target = 0;
    QVariantAnimation* m_animation;
    kestu::KestuTransitionEffect* m_fade = nullptr;
};

} // namespace tremlor
