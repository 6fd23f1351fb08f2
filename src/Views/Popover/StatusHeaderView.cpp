#include "Views/Popover/StatusHeaderView.h"

#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuTransition.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Popover/ActivityRing.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr double ringSize = 72;
constexpr double ringLineWidth = 4;

void setColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}
} // namespace

StatusHeaderView::StatusHeaderView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("status-header"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The ring widget keeps room for its bounce; the gap to the title stays 8 points.
    layout->setSpacing(8 - ActivityRing::bounceMargin);
    m_ring = new ActivityRing(
        ringSize, ringLineWidth, [this](QPainter& p, const QRectF& r) { paintRingContent(p, r); }, this);
    layout->addWidget(m_ring, 0, Qt::AlignHCenter);

    m_titleBlock = new QWidget(this);
    m_titleBlock->setObjectName(QStringLiteral("status-title-block"));
    auto* titles = new QVBoxLayout(m_titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(2);
    m_title = new QLabel(m_titleBlock);
    m_title->setObjectName(QStringLiteral("status-title"));
    m_title->setFont(kestu::Font::headline());
    m_title->setAlignment(Qt::AlignHCenter);
    m_next = new QLabel(m_titleBlock);
    m_next->setObjectName(QStringLiteral("status-next-app"));
    m_next->setFont(kestu::Font::caption());
    m_next->setAlignment(Qt::AlignHCenter);
    m_next->setTextFormat(Qt::PlainText);
    m_title->setTextFormat(Qt::PlainText);
    titles->addWidget(m_title);
    titles->addWidget(m_next);
    layout->addWidget(m_titleBlock);
    m_titleBlock->hide();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    applyColors();
    setState(State {});
    setAccessibleName(combinedAccessibilityLabel());
}

void StatusHeaderView::setState(const State& state)
{
    const State old = m_state;
    m_state = state;
    if (old == state && m_initialised)
        return;
    m_initialised = true;
    m_ring->setInputs({ state.sessionProgress, state.isActive, state.isPausedByIdle, state.isIndefiniteSession,
        state.remainingSeconds });

    // The centre's text and colour change every second; the ring repaints only then.
    if (old.remainingTimeString != state.remainingTimeString || old.isActive != state.isActive
        || old.isPausedByIdle != state.isPausedByIdle || old.isIndefiniteSession != state.isIndefiniteSession)
        m_ring->update();

    m_title->setText(titleText());
    const QString next = nextText();
    m_next->setText(next);
    m_next->setVisible(!next.isEmpty());

    const bool show = state.isActive || state.isPausedByIdle;
    if (show != m_titleShown) {
        m_titleShown = show;
        if (kestu::prefersReducedMotion() || !isVisible())
            m_titleBlock->setVisible(show);
        else if (show)
            kestu::KestuTransition::kestuFade().insert(m_titleBlock, kestu::Animation::fadeSmooth());
        else
            kestu::KestuTransition::kestuFade().remove(m_titleBlock, kestu::Animation::fadeSmooth());
    }

    const QString label = combinedAccessibilityLabel();
    if (label != accessibleName()) {
        setAccessibleName(label);
        if (QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void StatusHeaderView::applyColors()
{
    setColor(m_title, kestu::Color::text().resolve(this));
    setColor(m_next, kestu::Color::textSecondary().resolve(this));
}

void StatusHeaderView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyColors();
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
