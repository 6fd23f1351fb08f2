#include "KestuDesign/Components/KestuEmptyState.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>

namespace kestu {

namespace {
constexpr int spacing = 8;
constexpr int verticalPadding = 16;
constexpr int textFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
} // namespace

KestuEmptyState::KestuEmptyState(const QString& icon, const QString& title, const QString& message, QWidget* parent)
    : KestuEmptyState(icon, title, message, Look(), parent)
{
}

KestuEmptyState::KestuEmptyState(
    const QString& icon, const QString& title, const QString& message, Look look, QWidget* parent)
    : QWidget(parent)
    , m_icon(icon)
    , m_title(title)
    , m_message(message)
    , m_look(look)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAccessibleName(title);
    setAccessibleDescription(message);
}

const QFont& KestuEmptyState::titleFont() const
{
    return m_look.headlineTitle ? Font::headline() : Font::callout();
}

int KestuEmptyState::messageHeight(int width) const
{
    // An empty message still takes its line in the stack, like an empty text view.
    const QFontMetrics fm(Font::caption());
    if (m_message.isEmpty())
        return fm.height();
    return fm.boundingRect(QRect(0, 0, std::max(1, width), 100000), textFlags, m_message).height();
}

int KestuEmptyState::heightForWidth(int width) const
{
    const QFontMetrics title(titleFont());
    return verticalPadding + m_look.symbolSize + spacing + title.height() + spacing + messageHeight(width)
        + verticalPadding;
}

QSize KestuEmptyState::sizeHint() const
{
    const int width = std::max(200, QFontMetrics(titleFont()).horizontalAdvance(m_title));
    return QSize(width, heightForWidth(width));
}

void KestuEmptyState::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor secondary = Color::textSecondary().resolve(this);
    const int contentHeight = heightForWidth(width()) - 2 * verticalPadding;
    int y = std::max(verticalPadding, (height() - contentHeight) / 2);

    KestuSymbols::paint(p, QRectF(0, y, width(), m_look.symbolSize), m_icon, m_look.symbolSize,
        withOpacity(secondary, m_look.symbolOpacity));
    y += m_look.symbolSize + spacing;

    const QFontMetrics titleMetrics(titleFont());
    p.setFont(titleFont());
    p.setPen(m_look.headlineTitle ? Color::text().resolve(this) : secondary);
    p.drawText(QRect(0, y, width(), titleMetrics.height()), Qt::AlignHCenter | Qt::AlignVCenter, m_title);
    y += titleMetrics.height() + spacing;

    p.setFont(Font::caption());
    p.setPen(withOpacity(secondary, m_look.messageOpacity));
    p.drawText(QRect(0, y, width(), messageHeight(width())), textFlags, m_message);
}

} // namespace kestu
