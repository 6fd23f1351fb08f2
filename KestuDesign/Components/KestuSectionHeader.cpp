#include "KestuDesign/Components/KestuSectionHeader.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"

#include <QPainter>

namespace kestu {

namespace {
constexpr int symbolSize = 11;
constexpr int spacing = 6;
} // namespace

KestuSectionHeader::KestuSectionHeader(const QString& title, std::optional<QString> icon, QWidget* parent)
    : QWidget(parent)
    , m_title(title)
    , m_icon(std::move(icon))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
}

QSize KestuSectionHeader::sizeHint() const
{
    const QFontMetrics fm(Font::callout());
    const int width = fm.horizontalAdvance(m_title) + (m_icon ? symbolSize + spacing : 0);
    return QSize(width, std::max(fm.height(), symbolSize));
}

QSize KestuSectionHeader::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void KestuSectionHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = Color::textSecondary().resolve(this);
    int x = 0;
    if (m_icon) {
        KestuSymbols::paint(p, QRectF(0, 0, symbolSize, height()), *m_icon, symbolSize, color);
        x = symbolSize + spacing;
    }
    p.setFont(Font::callout());
    p.setPen(color);
    p.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, m_title);
}

} // namespace kestu
