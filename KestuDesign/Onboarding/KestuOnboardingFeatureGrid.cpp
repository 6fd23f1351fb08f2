#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPauseAnimation>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

#include <algorithm>
#include <climits>

namespace kestu {

namespace {
constexpr double gridSide = Space::space24;
constexpr double columnGap = Space::space16;
constexpr double minColumnWidth = 10.0;
constexpr int headingFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
} // namespace

KestuOnboardingFeatureGrid::KestuOnboardingFeatureGrid(
    QString heading, QList<KestuOnboardingFeature> features, QWidget* parent)
    : QWidget(parent)
    , m_heading(std::move(heading))
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_cards.reserve(std::size_t(features.size()));
    // The cards are painted: screen readers hear the heading and then every card's text.
    QStringList spoken;
    for (const auto& feature : features)
        spoken << feature.title + QStringLiteral(": ") + feature.subtitle;
    setAccessibleName(m_heading);
    setAccessibleDescription(spoken.join(QLatin1Char('\n')));
    for (auto& feature : features)
        m_cards.push_back(Card { KestuOnboardingFeatureCard(std::move(feature)) });
}

const KestuOnboardingFeature& KestuOnboardingFeatureGrid::feature(int index) const
{
    return m_cards.at(std::size_t(index)).card.feature();
}

int KestuOnboardingFeatureGrid::entranceDelayMs(int index)
{
    return int(std::clamp(qint64(index) * staggerMs, qint64(0), qint64(INT_MAX)));
}

QRectF KestuOnboardingFeatureGrid::cardRect(int index) const
{
    return layoutFor(width(), height()).cards.at(std::size_t(index));
}

double KestuOnboardingFeatureGrid::cardOpacity(int index) const
{
    return m_cards.at(std::size_t(index)).opacity;
}

double KestuOnboardingFeatureGrid::cardOffset(int index) const
{
    return m_cards.at(std::size_t(index)).offset;
}

QAbstractAnimation* KestuOnboardingFeatureGrid::cardEntrance(int index) const
{
    return m_cards.at(std::size_t(index)).entrance;
}

KestuOnboardingFeatureGrid::Layout KestuOnboardingFeatureGrid::layoutFor(int width, int height) const
{
    Layout layout = layoutWith(width, false);
    if (height > 0 && layout.bottom > height)
        layout = layoutWith(width, true);
    return layout;
}

KestuOnboardingFeatureGrid::Layout KestuOnboardingFeatureGrid::layoutWith(int width, bool compact) const
{
    const double headingTop = compact ? Space::space16 : Space::space24;
    const double headingGap = compact ? Space::space12 : Space::space20;
    const double rowGap = compact ? Space::space8 : Space::space12;
    Layout layout;
    layout.spacing = compact ? KestuOnboardingFeatureCard::compact : KestuOnboardingFeatureCard::regular;
    const QRect unbounded(0, 0, std::max(1, width), 100000);
    const double headingHeight = QFontMetrics(Font::title()).boundingRect(unbounded, headingFlags, m_heading).height();
    layout.heading = QRectF(0, headingTop, width, headingHeight);

    const double columnWidth
        = std::max(minColumnWidth, (width - 2 * gridSide - (columnCount - 1) * columnGap) / columnCount);
    double rowTop = layout.heading.bottom() + headingGap;
    layout.cards.reserve(m_cards.size());
    for (std::size_t first = 0; first < m_cards.size(); first += columnCount) {
        const std::size_t end = std::min(m_cards.size(), first + columnCount);
        double rowHeight = 0.0;
        for (std::size_t i = first; i < end; ++i)
            rowHeight = std::max(rowHeight, double(m_cards[i].card.heightForWidth(int(columnWidth), layout.spacing)));
        // Shorter cards sit centred in their row.
        for (std::size_t i = first; i < end; ++i) {
            const double height = m_cards[i].card.heightForWidth(int(columnWidth), layout.spacing);
            // The leading column is on the right in right-to-left layouts.
            const double leading = gridSide + double(i - first) * (columnWidth + columnGap);
            const double left = layoutDirection() == Qt::RightToLeft ? width - leading - columnWidth : leading;
            layout.cards.emplace_back(left, rowTop + (rowHeight - height) / 2.0, columnWidth, height);
        }
        rowTop += rowHeight + (end < m_cards.size() ? rowGap : 0.0);
    }
    layout.bottom = m_cards.empty() ? layout.heading.bottom() : rowTop;
    return layout;
}

int KestuOnboardingFeatureGrid::heightForWidth(int width) const
{
    return int(std::ceil(layoutFor(width).bottom));
}

QSize KestuOnboardingFeatureGrid::sizeHint() const
{
    constexpr int preferredWidth = 540;
    return QSize(preferredWidth, heightForWidth(preferredWidth));
}

void KestuOnboardingFeatureGrid::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each card reveals itself once; showing the page again keeps revealed cards in place.
    for (int i = 0; i < cardCount(); ++i) {
        if (!m_visible.contains(i))
            reveal(i);
    }
}

void KestuOnboardingFeatureGrid::reveal(int index)
{
    m_visible.insert(index);
    Card& card = m_cards[std::size_t(index)];
    if (prefersReducedMotion()) {
        card.opacity = 1.0;
        card.offset = 0.0;
        update();
        return;
    }
    auto* entrance = new QSequentialAnimationGroup(this);
    entrance->setObjectName(QStringLiteral("card-entrance-%1").arg(index));
    if (const int delay = entranceDelayMs(index); delay > 0)
        entrance->addAnimation(new QPauseAnimation(delay, entrance));
    auto* rise = new QVariantAnimation(entrance);
    rise->setStartValue(0.0);
    rise->setEndValue(1.0);
    const KestuAnimation curve = KestuAnimation::easeOut(entranceMs / 1000.0);
    rise->setEasingCurve(curve.easingCurve());
    rise->setDuration(curve.durationMs());
    connect(rise, &QVariantAnimation::valueChanged, this, [this, index](const QVariant& value) {
        Card& c = m_cards[std::size_t(index)];
        c.opacity = value.toDouble();
        c.offset = riseDistance * (1.0 - value.toDouble());
        update();
    });
    entrance->addAnimation(rise);
    card.entrance = entrance;
    entrance->start();
}

void KestuOnboardingFeatureGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Layout layout = layoutFor(width(), height());
    painter.setFont(Font::title());
    painter.setPen(Color::text().resolve(this));
    painter.drawText(layout.heading, headingFlags, m_heading);
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        const Card& card = m_cards[i];
        if (card.opacity <= 0.0)
            continue;
        painter.setOpacity(std::min(1.0, card.opacity));
        card.card.paint(painter, layout.cards[i].translated(0, card.offset), this, layout.spacing);
    }
}

} // namespace kestu
