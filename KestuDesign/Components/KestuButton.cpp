#include "KestuDesign/Components/KestuButton.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuPressStyle.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>

namespace kestu {

namespace {
constexpr int symbolSize = 13;
constexpr int verticalPadding = 9;
constexpr int spacing = 8;
} // namespace

KestuButton::KestuButton(const QString& label, std::optional<QString> icon, KestuButtonVariant variant,
    std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_icon(std::move(icon))
    , m_variant(variant)
    , m_action(std::move(action))
{
    setText(label);
    setAccessibleName(label);
    setFont(Font::headline());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    m_pressStyle = KestuPressStyle::attach(this);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}

QColor KestuButton::fillColor() const
{
    switch (m_variant) {
    case KestuButtonVariant::primary:
        return Color::accent().resolve(this);
    case KestuButtonVariant::secondary:
        return Color::surfaceSecondary().resolve(this);
    case KestuButtonVariant::destructive:
        return Color::danger().resolve(this);
    }
    return {};
}

QColor KestuButton::foregroundColor() const
{
    return m_variant == KestuButtonVariant::secondary ? Color::text().resolve(this) : Color::white().resolve(this);
}

QSize KestuButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int width = fm.horizontalAdvance(text());
    if (m_icon)
        width += symbolSize + spacing;
    return QSize(width + 2 * int(Space::space16), std::max(fm.height(), symbolSize) + 2 * verticalPadding);
}

QSize KestuButton::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void KestuButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fillColor());
    p.drawRoundedRect(QRectF(rect()), Radius::large, Radius::large);
    if (showsFocusRing(this))
        paintFocusRing(p, this, QRectF(rect()), Radius::large, fillColor());

    // Symbol and label centred as one group across the full width; a label too long for it
    // ends in "…".
    const QColor fg = foregroundColor();
    const QFontMetrics fm(font());
    const int symbolWidth = m_icon ? symbolSize + spacing : 0;
    const QString label
        = fm.elidedText(text(), Qt::ElideRight, std::max(0, width() - 2 * int(Space::space16) - symbolWidth));
    const int textWidth = fm.horizontalAdvance(label);
    const int groupWidth = textWidth + symbolWidth;
    int x = (width() - groupWidth) / 2;
    if (m_icon) {
        KestuSymbols::paint(p, QRectF(x, 0, symbolSize, height()), *m_icon, symbolSize, fg);
        x += symbolSize + spacing;
    }
    p.setPen(fg);
    p.drawText(QRect(x, 0, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, label);
}

} // namespace kestu
