#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPauseAnimation>
#include <QPointer>
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

// One painted text, a label to screen readers: its text is its name.
class KestuOnboardingFeatureGrid::TextAccessible final : public QAccessibleInterface {
public:
    TextAccessible(KestuOnboardingFeatureGrid* grid, int index)
        : m_grid(grid)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_grid && m_index < m_grid->textCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_grid->text(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_grid->textRect(m_index).toAlignedRect();
        return QRect(m_grid->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_grid || !m_grid->isVisible();
        return state;
    }

private:
    QPointer<KestuOnboardingFeatureGrid> m_grid;
    int m_index;
};

// The page as screen readers see it: named by its heading, with the painted texts as children.
class KestuOnboardingFeatureGrid::Accessible final : public QAccessibleWidget {
public:
    explicit Accessible(KestuOnboardingFeatureGrid* grid)
        : QAccessibleWidget(grid)
    {
    }
    ~Accessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_ids))
            QAccessible::deleteAccessibleInterface(id);
    }

    static QAccessibleInterface* create(const QString&, QObject* object)
    {
        if (auto* grid = qobject_cast<KestuOnboardingFeatureGrid*>(object))
            return new Accessible(grid);
        return nullptr;
    }

    int childCount() const override { return grid()->textCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto found = m_ids.constFind(index); found != m_ids.cend())
            return QAccessible::accessibleInterface(*found);
        auto* text = new TextAccessible(grid(), index);
        m_ids.insert(index, QAccessible::registerAccessibleInterface(text));
        return text;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPointF at = grid()->mapFromGlobal(QPointF(x, y));
        for (int i = 0; i < childCount(); ++i) {
            if (grid()->textRect(i).contains(at))
                return child(i);
        }
        return nullptr;
    }

private:
    KestuOnboardingFeatureGrid* grid() const { return static_cast<KestuOnboardingFeatureGrid*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_ids;
};

KestuOnboardingFeatureGrid::KestuOnboardingFeatureGrid(
    QString heading, QList<KestuOnboardingFeature> features, QWidget* parent)
    : QWidget(parent)
    , m_heading(std::move(heading))
{
    // Before anything asks for the page's interface (naming it below does, with a reader on).
    QAccessible::installFactory(&Accessible::create); // Qt keeps one copy
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_cards.reserve(std::size_t(features.size()));
    // What a screen reader speaks when the page takes the keyboard: the heading, then every card.
    QStringList spoken;
    for (const auto& feature : features)
        spoken << feature.title + QStringLiteral(": ") + feature.subtitle;
    setAccessibleName(m_heading);
    setAccessibleDescription(spoken.join(QLatin1Char('\n')));
    for (auto& feature : features)
        m_cards.push_back(Card { KestuOnboardingFeatureCard(std::move(feature)) });
}

QString KestuOnboardingFeatureGrid::text(int index) const
{
    if (index <= 0)
        return m_heading;
    const KestuOnboardingFeature& shown = feature((index - 1) / 2);
    return index % 2 ? shown.title : shown.subtitle;
}

QRectF KestuOnboardingFeatureGrid::textRect(int index) const
{
    const Layout layout = layoutFor(width(), height());
    if (index <= 0)
        return layout.heading;
    const auto card = std::size_t((index - 1) / 2);
    return m_cards.at(card).card.textRect(layout.cards.at(card), index % 2 == 0, layout.spacing);
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
