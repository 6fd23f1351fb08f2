#include "KestuDesign/Onboarding/KestuOnboardingFeatureCard.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace kestu {

namespace {
constexpr int padSide = 8;
constexpr int iconSize = 20;
constexpr int titleFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

const QFont& titleFont()
{
    static const QFont font = systemFont(13, QFont::DemiBold);
    return font;
}
// A symbol at a font size of 20 points stands about that tall.
constexpr int iconLineHeight()
{
    return iconSize + 2;
}
} // namespace

KestuOnboardingFeatureCard::KestuOnboardingFeatureCard(KestuOnboardingFeature feature)
    : m_feature(std::move(feature))
{
}

int KestuOnboardingFeatureCard::titleHeight(int width) const
{
    const QRect bounds(0, 0, std::max(1, width - 2 * padSide), 100000);
    return QFontMetrics(titleFont()).boundingRect(bounds, titleFlags, m_feature.title).height();
}

QStringList KestuOnboardingFeatureCard::subtitleLines(int width) const
{
    const int lineWidth = std::max(1, width - 2 * padSide);
    QString text = m_feature.subtitle;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, Font::caption());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        if (lines.size() == maxSubtitleLines - 1) {
            const int start = line.textStart();
            const bool more = start + line.textLength() < text.size();
            if (!more) {
                lines << text.mid(start).remove(QChar::LineSeparator).trimmed();
                break;
            }
            // Text goes on past the second line: it ends with an ellipsis, even when the
            // rest was cut at a line break.
            const QFontMetrics metrics(Font::caption());
            const QString rest = text.mid(start).replace(QChar::LineSeparator, QLatin1Char(' ')).simplified();
            QString shown = metrics.elidedText(rest, Qt::ElideRight, lineWidth);
            if (shown == rest) {
                const QString own = text.mid(start, line.textLength()).remove(QChar::LineSeparator).trimmed();
                shown = metrics.elidedText(own + QChar(0x2026), Qt::ElideRight, lineWidth);
            }
            lines << shown;
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed();
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

int KestuOnboardingFeatureCard::heightForWidth(int width, Spacing spacing) const
{
    const int lines = int(subtitleLines(width).size());
    const int subtitleHeight = QFontMetrics(Font::caption()).lineSpacing() * lines;
    return spacing.vertical + iconLineHeight() + spacing.stack + titleHeight(width) + spacing.stack + subtitleHeight
        + spacing.vertical;
}

QRectF KestuOnboardingFeatureCard::textRect(const QRectF& rect, bool description, Spacing spacing) const
{
    const int cardWidth = int(std::lround(rect.width()));
    const double innerLeft = rect.left() + padSide;
    const double innerWidth = std::max(0.0, rect.width() - 2 * padSide);
    const double titleTop = rect.top() + spacing.vertical + iconLineHeight() + spacing.stack;
    if (!description)
        return QRectF(innerLeft, titleTop, innerWidth, titleHeight(cardWidth));
    const auto lines = double(subtitleLines(cardWidth).size());
    return QRectF(innerLeft, titleTop + titleHeight(cardWidth) + spacing.stack, innerWidth,
        QFontMetrics(Font::caption()).lineSpacing() * lines);
}

void KestuOnboardingFeatureCard::paint(
    QPainter& painter, const QRectF& rect, const QWidget* widget, Spacing spacing) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(rect, Radius::medium, Radius::medium);
    painter.fillPath(background, Color::surfaceSecondary().resolve(widget));

    const double innerLeft = rect.left() + padSide;
    const double innerWidth = std::max(0.0, rect.width() - 2 * padSide);
    const QRectF iconRect(innerLeft, rect.top() + spacing.vertical, innerWidth, iconLineHeight());
    KestuSymbols::paint(painter, iconRect, m_feature.icon, iconSize, Color::accent().resolve(widget));

    const int cardWidth = int(std::lround(rect.width()));
    painter.setFont(titleFont());
    painter.setPen(Color::text().resolve(widget));
    painter.drawText(textRect(rect, false, spacing), titleFlags, m_feature.title);
    double y = textRect(rect, true, spacing).top();

    const QFontMetrics captionMetrics(Font::caption());
    painter.setFont(Font::caption());
    painter.setPen(Color::textSecondary().resolve(widget));
    for (const QString& line : subtitleLines(cardWidth)) {
        painter.drawText(
            QRectF(innerLeft, y, innerWidth, captionMetrics.height()), Qt::AlignHCenter | Qt::AlignTop, line);
        y += captionMetrics.lineSpacing();
    }
    painter.restore();
}

} // namespace kestu
