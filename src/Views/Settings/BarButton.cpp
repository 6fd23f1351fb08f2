#include "Views/Settings/BarButton.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace tremlor {

namespace {
constexpr int symbolSize = 13;
constexpr int buttonHeight = 26;
constexpr int gap = static_cast<int>(kestu::Space::space4) + 2;
constexpr int sidePadding = static_cast<int>(kestu::Space::space8) + 2;
} // namespace

BarButton::BarButton(
    Style style, const QString& title, std::optional<QString> symbol, const QString& objectName, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(style)
    , m_symbol(std::move(symbol))
{
    setObjectName(objectName);
    setText(title);
    setAccessibleName(title);
    setFont(kestu::Font::callout());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BarButton::sizeHint() const
{
    if (text().isEmpty())
        return QSize(buttonHeight - 2, buttonHeight - 2);
    const int symbolWidth = m_symbol ? symbolSize + gap : 0;
    return QSize(sidePadding * 2 + symbolWidth + fontMetrics().horizontalAdvance(text()), buttonHeight);
}

void BarButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.35);
    QColor foreground = kestu::Color::text().resolve(this);
    QPainterPath shape;
    shape.addRoundedRect(
        QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kestu::Radius::small + 1, kestu::Radius::small + 1);
    switch (m_style) {
    case Style::prominent:
        p.fillPath(shape, kestu::Color::accent().resolve(this));
        if (isDown())
            p.fillPath(shape, kestu::withOpacity(Qt::black, 0.12));
        else if (m_hovering && isEnabled())
            p.fillPath(shape, kestu::withOpacity(Qt::white, 0.10));
        foreground = kestu::Color::white().resolve(this);
        break;
    case Style::bordered:
    case Style::destructive:
        p.fillPath(shape, kestu::Color::surfaceTertiary().resolve(this));
        p.setPen(QPen(kestu::Color::border().resolve(this), 0.5));
        p.drawPath(shape);
        if (isDown() || (m_hovering && isEnabled()))
            p.fillPath(shape, kestu::withOpacity(foreground, isDown() ? 0.12 : 0.05));
        if (m_style == Style::destructive)
            foreground = kestu::Color::danger().resolve(this);
        break;
    case Style::borderless:
        if (isDown() || (m_hovering && isEnabled()))
            p.fillPath(shape, kestu::Color::surfaceTertiary().resolve(this));
        foreground = kestu::Color::textSecondary().resolve(this);
        if (m_hovering && isEnabled())
            foreground = kestu::Color::text().resolve(this);
        break;
    }
    if (kestu::showsFocusRing(this)) {
        QColor fill;
        if (m_style == Style::prominent)
            fill = kestu::Color::accent().resolve(this);
        else if (m_style != Style::borderless)
            fill = kestu::Color::surfaceTertiary().resolve(this);
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 1, fill);
    }
    if (text().isEmpty()) {
        kestu::KestuSymbols::paint(p, rect(), *m_symbol, symbolSize, foreground);
        return;
    }
    int x = sidePadding;
    if (m_symbol) {
        kestu::KestuSymbols::paint(p, QRectF(x, 0, symbolSize, height()), *m_symbol, symbolSize, foreground);
        x += symbolSize + gap;
    }
    p.setPen(foreground);
    p.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
}

void BarButton::keyPressEvent(QKeyEvent* event)
{
    // Return presses the focused button, as in this desktop's dialogs.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void BarButton::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    update();
    QAbstractButton::enterEvent(event);
}

void BarButton::leaveEvent(QEvent* event)
{
    m_hovering = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace tremlor
