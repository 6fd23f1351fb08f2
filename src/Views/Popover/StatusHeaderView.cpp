#include "Views/Popover/StatusHeaderView.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Popover/ActivityRing.h"
#include "Views/Shared/AccessibleFactory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>

namespace tremlor {

namespace {
constexpr double ringSize = 72;
constexpr double ringLineWidth = 4;
constexpr int lineSpacing = 2;

// The whole block is one element: the ring and the title lines are not read a second time.
class HeaderAccessible final : public QAccessibleWidget {
public:
    explicit HeaderAccessible(StatusHeaderView* header)
        : QAccessibleWidget(header, QAccessible::StaticText)
    {
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<StatusHeaderView*>(widget())->ring()->accessibilityProgressValue();
        return QAccessibleWidget::text(t);
    }
};

} // namespace

// The title and the next line, painted: while the status changes the old lines fade out as the
// new ones fade in, without an off-screen effect.
class StatusTitleBlock final : public QWidget {
public:
    struct Lines {
        QString title;
        QString next;
        bool isEmpty() const { return title.isEmpty() && next.isEmpty(); }
        bool operator==(const Lines&) const = default;
    };

    explicit StatusTitleBlock(QWidget* parent)
        : QWidget(parent)
        , m_fade(new QVariantAnimation(this))
    {
        setObjectName(QStringLiteral("status-title-block"));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_fade->setStartValue(0.0);
        m_fade->setEndValue(1.0);
        connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            m_presence = v.toDouble();
            update();
        });
        connect(m_fade, &QVariantAnimation::finished, this, [this] { settle(); });
        hide();
    }

    QVariantAnimation* fade() const { return m_fade; }
    const Lines& lines() const { return m_to; }

    // New lines, faded in over the old ones or set at once.
    void setLines(const Lines& lines, bool fade)
    {
        if (lines == m_to)
            return;
        const bool fading = m_fade->state() == QAbstractAnimation::Running;
        if (!fade && fading) {
            m_to = lines; // the running fade ends on the new lines
            updateGeometry();
            update();
            return;
        }
        m_from = fade ? m_to : Lines {};
        m_to = lines;
        if (!fade) {
            m_fade->stop();
            settle();
            return;
        }
        m_presence = 0;
        kestu::Animation::fadeSmooth().apply(m_fade);
        show();
        updateGeometry();
        if (m_fade->duration() > 0)
            m_fade->start();
        else
            settle();
    }

    QSize sizeHint() const override
    {
        const QSize from = sizeOf(m_from);
        const QSize to = sizeOf(m_to);
        return { std::max(from.width(), to.width()), std::max(from.height(), to.height()) };
    }
    QSize minimumSizeHint() const override { return { 0, sizeHint().height() }; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_presence < 1)
            drawLines(p, m_from, 1 - m_presence);
        drawLines(p, m_to, m_presence);
    }

private:
    void settle()
    {
        m_from = {};
        m_presence = 1;
        setVisible(!m_to.isEmpty());
        updateGeometry();
        update();
    }

    QSize sizeOf(const Lines& lines) const
    {
        if (lines.isEmpty())
            return { 0, 0 };
        const QFontMetrics title(kestu::Font::headline());
        int width = title.horizontalAdvance(lines.title);
        int height = title.height();
        if (!lines.next.isEmpty()) {
            const QFontMetrics next(kestu::Font::caption());
            width = std::max(width, next.horizontalAdvance(lines.next));
            height += lineSpacing + next.height();
        }
        return { width, height };
    }

    void drawLines(QPainter& p, const Lines& lines, double opacity) const
    {
        if (lines.isEmpty() || opacity <= 0)
            return;
        p.setOpacity(opacity);
        const QFontMetrics title(kestu::Font::headline());
        QRect row(0, 0, width(), title.height());
        p.setFont(kestu::Font::headline());
        p.setPen(kestu::Color::text().resolve(this));
        p.drawText(row, Qt::AlignHCenter | Qt::AlignTop, title.elidedText(lines.title, Qt::ElideRight, width()));
        if (lines.next.isEmpty())
            return;
        const QFontMetrics next(kestu::Font::caption());
        row = QRect(0, row.bottom() + 1 + lineSpacing, width(), next.height());
        p.setFont(kestu::Font::caption());
        p.setPen(kestu::Color::textSecondary().resolve(this));
        p.drawText(row, Qt::AlignHCenter | Qt::AlignTop, next.elidedText(lines.next, Qt::ElideRight, width()));
    }

    Lines m_from;
    Lines m_to;
    double m_presence = 1; // of the new lines; the old ones show at 1 - presence
    QVariantAnimation* m_fade;
};

StatusHeaderView::StatusHeaderView(QWidget* parent)
    : QWidget(parent)
{
    installAccessible<StatusHeaderView, HeaderAccessible>();
    setObjectName(QStringLiteral("status-header"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The ring widget keeps room for its bounce; the gap to the title stays 8 points.
    layout->setSpacing(8 - ActivityRing::bounceMargin);
    m_ring = new ActivityRing(
        ringSize, ringLineWidth, [this](QPainter& p, const QRectF& r) { paintRingContent(p, r); }, this);
    layout->addWidget(m_ring, 0, Qt::AlignHCenter);
    m_titleBlock = new StatusTitleBlock(this);
    layout->addWidget(m_titleBlock);
    m_titleBlock->installEventFilter(this);
    keepRoomBelow();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setState(State {});
    setAccessibleName(combinedAccessibilityLabel());
}

bool StatusHeaderView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_titleBlock && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        keepRoomBelow();
    return QWidget::eventFilter(watched, event);
}

void StatusHeaderView::keepRoomBelow()
{
    // Under the ring the room is the ring's own; under the title lines it is a margin.
    const int below = m_titleBlock->isVisibleTo(this) ? ActivityRing::bounceMargin : 0;
    layout()->setContentsMargins(0, 0, 0, below);
}

QWidget* StatusHeaderView::titleBlock() const
{
    return m_titleBlock;
}

QVariantAnimation* StatusHeaderView::titleFade() const
{
    return m_titleBlock->fade();
}

void StatusHeaderView::setState(const State& state)
{
    const State old = m_state;
    m_state = state;
    if (old == state && m_initialised)
        return;
    const bool first = !m_initialised;
    m_initialised = true;
    m_ring->setInputs({ state.sessionProgress, state.isActive, state.isPausedByIdle, state.isIndefiniteSession,
        state.remainingSeconds });

    // The centre's text and colour change every second; the ring's cached centre only then.
    if (old.remainingTimeString != state.remainingTimeString || old.isActive != state.isActive
        || old.isPausedByIdle != state.isPausedByIdle || old.isIndefiniteSession != state.isIndefiniteSession)
        m_ring->contentChanged();

    // Starting, stopping, pausing or resuming fades the lines; a new next application does not.
    const bool statusChanged = old.isActive != state.isActive || old.isPausedByIdle != state.isPausedByIdle;
    const bool fade = statusChanged && !first && isVisible() && !kestu::prefersReducedMotion();
    m_titleBlock->setLines({ titleText(), nextText() }, fade);
    m_titleShown = state.isActive || state.isPausedByIdle;

    // The ring is not an element of its own: its spoken value is the block's description.
    const QString label = combinedAccessibilityLabel();
    const QString value = m_ring->accessibilityProgressValue();
    const bool nameChanged = label != accessibleName();
    const bool valueChanged = value != accessibleDescription();
    setAccessibleName(label);
    setAccessibleDescription(value);
    if (QAccessible::isActive()) {
        if (nameChanged) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (valueChanged) {
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

QString StatusHeaderView::titleText() const
{
    if (!m_state.isActive && !m_state.isPausedByIdle)
        return {};
    return m_state.isPausedByIdle ? QStringLiteral("Paused") : QStringLiteral("Active");
}

QString StatusHeaderView::nextText() const
{
    if (m_state.isActive && !m_state.isPausedByIdle && !m_state.nextAppName.isEmpty())
        return tr("Next: %1").arg(m_state.nextAppName);
    return {};
}

QString StatusHeaderView::ringText() const
{
    if (m_state.isPausedByIdle)
        return m_state.remainingTimeString;
    if (!m_state.isActive)
        return tr("Inactive");
    if (m_state.isIndefiniteSession)
        return tr("∞");
    return m_state.remainingTimeString;
}

QColor StatusHeaderView::ringTextColor() const
{
    if (m_state.isPausedByIdle)
        return kestu::Color::warning().resolve(this);
    if (!m_state.isActive)
        return kestu::Color::textSecondary().resolve(this);
    return kestu::Color::text().resolve(this);
}

QFont StatusHeaderView::ringFont() const
{
    if (!m_state.isPausedByIdle && !m_state.isActive)
        return kestu::systemFont(11, QFont::Medium);
    if (!m_state.isPausedByIdle && m_state.isIndefiniteSession)
        return kestu::monospacedSystemFont(20, QFont::Light);
    return kestu::monospacedSystemFont(17, QFont::Medium);
}

void StatusHeaderView::paintRingContent(QPainter& painter, const QRectF& rect) const
{
    const QString text = ringText();
    if (text.isEmpty())
        return;
    QFont font = ringFont();
    // A long countdown ("123:59:59") shrinks to stay inside the track.
    const double room = rect.width() - 2 * (ringLineWidth + 4);
    QFontMetricsF metrics(font);
    while (metrics.horizontalAdvance(text) > room && font.pixelSize() > 8) {
        font.setPixelSize(font.pixelSize() - 1);
        metrics = QFontMetricsF(font);
    }
    painter.setFont(font);
    painter.setPen(ringTextColor());
    painter.drawText(rect, Qt::AlignCenter, text);
}

QString StatusHeaderView::combinedAccessibilityLabel() const
{
    if (m_state.isPausedByIdle || m_state.isActive) {
        QStringList parts { m_state.isPausedByIdle ? tr("Paused") : tr("Active") };
        if (!m_state.remainingTimeString.isEmpty())
            parts << tr("%1 remaining").arg(m_state.remainingTimeString);
        if (!m_state.isPausedByIdle && !m_state.nextAppName.isEmpty())
            parts << tr("next app %1").arg(m_state.nextAppName);
        return parts.join(QStringLiteral(", "));
    }
    return tr("Inactive");
}

} // namespace tremlor
