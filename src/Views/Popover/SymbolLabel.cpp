#include "Views/Popover/SymbolLabel.h"

#include "KestuDesign/Resources/KestuSymbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace tremlor {

SymbolLabel::SymbolLabel(
    QString symbol, QString title, QFont font, kestu::KestuColor color, QWidget* parent, int spacing)
    : QLabel(parent)
    , m_symbol(std::move(symbol))
    , m_title(std::move(title))
    , m_font(std::move(font))
    , m_color(std::move(color))
    , m_spacing(spacing)
{
    setTextFormat(Qt::PlainText);
    setText(m_title);
    setAccessibleName(m_title);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolLabel::setContent(const QString& symbol, const QString& title)
{
    if (symbol == m_symbol && title == m_title)
        return;
    m_symbol = symbol;
    m_title = title;
    setText(title);
    setAccessibleName(title);
    updateGeometry();
    update();
}

QSize SymbolLabel::sizeHint() const
{
    const QFontMetricsF metrics(m_font);
    const double width = leadingWidth() + metrics.horizontalAdvance(m_title);
    const QMargins m = contentsMargins();
    return { int(std::ceil(width)) + m.left() + m.right(),
        int(std::ceil(std::max(metrics.height(), double(symbolSize())))) + m.top() + m.bottom() };
}

void SymbolLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = m_color.resolve(this);
    const QRectF bounds(contentsRect());
    const int size = symbolSize();
    if (!m_symbol.isEmpty())
        kestu::KestuSymbols::paint(
            p, QRectF(bounds.left(), bounds.center().y() - size / 2.0, size, size), m_symbol, size, color);
    p.setPen(color);
    p.setFont(m_font);
    const QRectF text = bounds.adjusted(leadingWidth(), 0, 0, 0);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
        p.fontMetrics().elidedText(m_title, Qt::ElideRight, int(std::ceil(text.width()))));
}

} // namespace tremlor
