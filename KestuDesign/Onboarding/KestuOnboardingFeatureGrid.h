#pragma once

#include "KestuDesign/Onboarding/KestuOnboardingFeatureCard.h"

#include <QList>
#include <QSet>
#include <QWidget>

#include <vector>

class QAbstractAnimation;

namespace kestu {

// An onboarding page: a heading over a two-column grid of feature cards, filled row by row.
// When the page is first shown the cards fade in and rise 10 points into place one after
// another, card n starting n x 0.08 s after the page appears.
class KestuOnboardingFeatureGrid final : public QWidget {
    Q_OBJECT
public:
    KestuOnboardingFeatureGrid(QString heading, QList<KestuOnboardingFeature> features, QWidget* parent = nullptr);

    const QString& heading() const { return m_heading; }
    int cardCount() const { return int(m_cards.size()); }
    const KestuOnboardingFeature& feature(int index) const;

    // Positions of the cards whose entrance has begun; it only grows.
    const QSet<int>& visibleCards() const { return m_visible; }

    // The card's resting place in the page, and how it is drawn now.
    QRectF cardRect(int index) const;
    double cardOpacity(int index) const;
    double cardOffset(int index) const;
    QAbstractAnimation* cardEntrance(int index) const;
    // The painted texts in reading order (the heading, then each card's title and description),
    // which screen readers see as labels, and where each lies in the page.
    int textCount() const { return 1 + 2 * cardCount(); }
    QString text(int index) const;
    QRectF textRect(int index) const;

    static constexpr int columnCount = 2;
    static constexpr int entranceMs = 350;
    static constexpr int staggerMs = 80;
    static constexpr double riseDistance = 10.0;
    static int entranceDelayMs(int index);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class Accessible;
    class TextAccessible;
    struct Card {
        KestuOnboardingFeatureCard card;
        double opacity = 0.0;
        double offset = riseDistance;
        QAbstractAnimation* entrance = nullptr;
    };

    struct Layout {
        QRectF heading;
        std::vector<QRectF> cards;
        double bottom = 0.0;
        KestuOnboardingFeatureCard::Spacing spacing = KestuOnboardingFeatureCard::regular;
    };
    // The regular spacing when everything fits in `height` (or `height` is 0: unbounded), else
    // the compact one.
    Layout layoutFor(int width, int height = 0) const;
    Layout layoutWith(int width, bool compact) const;
    void reveal(int index);

    QString m_heading;
    std::vector<Card> m_cards;
    QSet<int> m_visible;
};

} // namespace kestu
