#include "KestuDesign/Components/KestuFooterButton.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolTip>
#include <QVariantAnimation>

#include <algorithm>

namespace kestu {

namespace {
void animate(QVariantAnimation* animation, const KestuAnimation& token, double from, double to)
{
    animation->stop();
    animation->setStartValue(from);
    animation->setEndValue(to);
    token.apply(animation);
    animation->start();
}
} // namespace

KestuFooterButton::KestuFooterButton(const KestuFooterAction& action, QWidget* parent)
    : QAbstractButton(parent)
    , m_action(action)
    , m_fade(new QVariantAnimation(this))
    , m_spring(new QVariantAnimation(this))
{
    // Clicks and accessibility presses only: no shortcut, no keyboard focus.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    m_fade->setObjectName(QStringLiteral("footer-hover-fade"));
    m_spring->setObjectName(QStringLiteral("footer-press-spring"));
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_fill = value.toDouble();
        update();
    });
    connect(m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_scale = value.toDouble();
        update();
    });
    connect(this, &QAbstractButton::clicked, this, &KestuFooterButton::run);
    setAction(action);
}

void KestuFooterButton::setAction(const KestuFooterAction& action)
{
    m_action = action;
    // The identifier is always set, empty when the action has none.
    setObjectName(action.accessibilityID().value_or(QString()));
    setToolTip(action.tooltip());
    setAccessibleName(action.tooltip());
    update();
}

QString KestuFooterButton::tooltipMarkup(const QString& tooltip)
{
    // Qt reads anything that looks like a tag as rich text: escape it and say it is markup.
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(tooltip.toHtmlEscaped());
}

bool KestuFooterButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (m_action.tooltip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tooltipMarkup(m_action.tooltip()), this);
        return true;
    }
    return QAbstractButton::event(event);
}

void KestuFooterButton::run()
{
    // The action may rebuild the toolbar and retire this button: run a copy.
    const std::function<void()> action = m_action.action();
    if (action)
        action();
}

QColor KestuFooterButton::fillColor() const
{
    return withOpacity(Color::surfaceTertiary().resolve(this), std::clamp(m_fill, 0.0, 1.0));
}

QSize KestuFooterButton::sizeHint() const
{
    const int side = symbolSize + 2 * padding;
    return QSize(side, side);
}

void KestuFooterButton::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    const double target = hovering ? 1.0 : 0.0;
    if (prefersReducedMotion()) {
        m_fade->stop();
        m_fill = target;
        update();
        return;
    }
    animate(m_fade, Animation::fadeQuick(), m_fill, target);
}

void KestuFooterButton::followPressed()
{
    const bool shrunk = isDown();
    if (shrunk == m_shrunk)
        return;
    m_shrunk = shrunk;
    const double target = shrunk ? pressedScale : 1.0;
    if (prefersReducedMotion()) {
        m_spring->stop();
        m_scale = target;
        update();
        return;
    }
    animate(m_spring, Animation::springSnappy(), m_scale, target);
}

void KestuFooterButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void KestuFooterButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void KestuFooterButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    followPressed();
}

void KestuFooterButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointer<KestuFooterButton> self(this);
    QAbstractButton::mouseReleaseEvent(event);
    if (self)
        followPressed();
}

void KestuFooterButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    followPressed();
}

void KestuFooterButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = rect();
    painter.translate(frame.center());
    painter.scale(m_scale, m_scale);
    painter.translate(-frame.center());
    if (m_fill > 0.0) {
        QPainterPath shape;
        shape.addRoundedRect(frame, Radius::small, Radius::small);
        painter.fillPath(shape, fillColor());
    }
    KestuSymbols::paint(painter, frame.adjusted(padding, padding, -padding, -padding), m_action.icon(), symbolSize,
        Color::textSecondary().resolve(this));
}

} // namespace kestu
