#pragma once

#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QWidget;

namespace kestu {

// One feature of the onboarding's feature grid: a symbol, a title and a short description.
struct KestuOnboardingFeature {
    KestuOnboardingFeature(QString symbol, QString heading, QString description)
        : icon(std::move(symbol))
        , title(std::move(heading))
        , subtitle(std::move(description))
    {
    }
    QString icon;
    QString title;
    QString subtitle;
};

// Measures and draws one card of the feature grid: the symbol (20 points, accent colour), the
// title (13 points, semibold) and the description (caption, at most two centred lines), on a
// rounded secondary surface, 12 points in from the top and bottom and 8 from the sides.
class KestuOnboardingFeatureCard final {
public:
    explicit KestuOnboardingFeatureCard(KestuOnboardingFeature feature);

    const KestuOnboardingFeature& feature() const { return m_feature; }

    // The room around and between the card's parts. A page too short for the regular spacing
    // takes the compact one, so every card stays in view.
    struct Spacing {
        int vertical;
        int stack;
    };
    static constexpr Spacing regular { int(Space::space12), int(Space::space8) };
    static constexpr Spacing compact { int(Space::space8), int(Space::space4) };

    int heightForWidth(int width, Spacing spacing = regular) const;
    // The description broken into at most two lines for a card `width` wide; the second ends
    // with an ellipsis when the text goes on.
    QStringList subtitleLines(int width) const;
    // Where the title (or the description) lies in a card drawn into `rect`.
    QRectF textRect(const QRectF& rect, bool description, Spacing spacing = regular) const;
    // Draws the card into `rect`, with colours resolved for `widget`'s appearance.
    void paint(QPainter& painter, const QRectF& rect, const QWidget* widget, Spacing spacing = regular) const;

    static constexpr int maxSubtitleLines = 2;

private:
    int titleHeight(int width) const;

    KestuOnboardingFeature m_feature;
};

} // namespace kestu
