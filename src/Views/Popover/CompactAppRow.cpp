#include "Views/Popover/CompactAppRow.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuHoverEffect.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuCheckable.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Views/Popover/RunningIndicator.h"
#include "Views/Shared/TremlorColor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace tremlor {

namespace {
const QString checkedSymbol = QStringLiteral("checkmark.square.fill");
const QString uncheckedSymbol = QStringLiteral("square");
} // namespace

CompactAppRow::CompactAppRow(AppInfo app, QWidget* parent)
    : QAbstractButton(parent)
    , m_app(std::move(app))
    , m_fade(new QVariantAnimation(this))
    , m_indicator(new RunningIndicator(false, this))
{
    setObjectName(QStringLiteral("app-row-") + m_app.bundleIdentifier());
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_indicator->hide();
    kestu::kestuHoverEffect(this);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_presence = value.toDouble();
        update();
    });
    updateAccessibleName();
}

void CompactAppRow::setSelected(bool selected)
{
    kestu::showChecked(this, selected);
    if (selected == m_selected)
        return;
    m_selected = selected;
    const double target = selected ? 1.0 : 0.0;
    m_fade->stop();
    if (!isVisible() || kestu::prefersReducedMotion()) {
        m_presence = target;
        update();
        return;
    }
    m_fade->setStartValue(m_presence);
    m_fade->setEndValue(target);
    kestu::Animation::fadeQuick().apply(m_fade);
    m_fade->start();
}

void CompactAppRow::setRunning(bool running, bool activeTarget)
{
    if (running != m_running) {
        m_running = running;
        m_indicator->setVisible(running);
        updateAccessibleName();
    }
    m_indicator->setActiveTarget(running && activeTarget);
}

void CompactAppRow::setShowsDivider(bool shows)
{
    if (shows == m_showsDivider)
        return;
    m_showsDivider = shows;
    updateGeometry();
    update();
}

void CompactAppRow::updateAccessibleName()
{
    setAccessibleName(
        m_running ? tr("Select %1, currently running").arg(m_app.name()) : tr("Select %1").arg(m_app.name()));
}

int CompactAppRow::contentHeight() const
{
    const QFontMetricsF metrics(kestu::Font::callout());
    return std::max(iconSize, int(std::ceil(metrics.height()))) + 2 * verticalPadding;
}

QSize CompactAppRow::sizeHint() const
{
    const QFontMetricsF metrics(kestu::Font::callout());
    const int width = 2 * horizontalPadding + checkboxFrame + spacing + iconSize + spacing
        + int(std::ceil(metrics.horizontalAdvance(m_app.name()))) + spacing + RunningIndicator::diameter;
    return { width, contentHeight() + (m_showsDivider ? 1 : 0) };
}

QSize CompactAppRow::minimumSizeHint() const
{
    return { 2 * horizontalPadding + checkboxFrame + spacing + iconSize, sizeHint().height() };
}

void CompactAppRow::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    placeIndicator();
}

void CompactAppRow::placeIndicator()
{
    const int d = RunningIndicator::diameter;
    m_indicator->move(width() - horizontalPadding - d, (contentHeight() - d) / 2);
}

void CompactAppRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double midY = contentHeight() / 2.0;
    double x = horizontalPadding;

    const QRectF box(x, midY - checkboxFrame / 2.0, checkboxFrame, checkboxFrame);
    if (m_presence < 1) {
        p.setOpacity(1 - m_presence);
        kestu::KestuSymbols::paint(p, box, uncheckedSymbol, checkboxSize, kestu::Color::textSecondary().resolve(this));
    }
    if (m_presence > 0) {
        p.setOpacity(m_presence);
        kestu::KestuSymbols::paint(p, box, checkedSymbol, checkboxSize, Color::accent());
    }
    p.setOpacity(1);
    x += checkboxFrame + spacing;

    if (!m_icon)
        m_icon = m_app.icon();
    const QRectF iconRect(x, midY - iconSize / 2.0, iconSize, iconSize);
    const QPixmap pm = m_icon->pixmap(QSize(iconSize, iconSize), devicePixelRatioF());
    p.drawPixmap(iconRect, pm, QRectF(pm.rect()));
    x += iconSize + spacing;

    const double textRight = width() - horizontalPadding - (m_running ? RunningIndicator::diameter + spacing : 0);
    const QRectF text(x, 0, std::max(0.0, textRight - x), contentHeight());
    p.setFont(kestu::Font::callout());
    p.setPen(kestu::Color::text().resolve(this));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
        p.fontMetrics().elidedText(m_app.name(), Qt::ElideRight, int(text.width())));

    if (m_showsDivider) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(
            QRect(dividerIndent, height() - 1, width() - dividerIndent, 1), kestu::Color::separator().resolve(this));
    }
    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), 0);
}

} // namespace tremlor
