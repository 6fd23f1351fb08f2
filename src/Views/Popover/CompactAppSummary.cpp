#include "Views/Popover/CompactAppSummary.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tremlor {

namespace {
const QString chevronSymbol = QStringLiteral("chevron.right");

QString appsText()
{
    return CompactAppSummary::tr("Apps");
}
} // namespace

CompactAppSummary::CompactAppSummary(QList<AppInfo> selectedApps, int maxIcons, int iconSize, QWidget* parent)
    : QAbstractButton(parent)
    , m_maxIcons(std::max(0, maxIcons))
    , m_iconSize(std::max(0, iconSize))
{
    setObjectName(QStringLiteral("compact-apps-summary"));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setSelectedApps(selectedApps);
}

void CompactAppSummary::setSelectedApps(const QList<AppInfo>& apps)
{
    const QList<AppInfo> before = std::exchange(m_apps, apps);
    const int shown = shownIcons();
    QList<QIcon> icons;
    icons.reserve(shown);
    for (int i = 0; i < shown; ++i) {
        // An icon already read for the same application is kept: reading one parses its entry.
        const qsizetype was = before.indexOf(m_apps[i]);
        icons << (was >= 0 && was < m_icons.size() ? m_icons[was] : m_apps[i].icon());
    }
    m_icons = icons;
    updateAccessibleName();
    updateGeometry();
    update();
}

int CompactAppSummary::shownIcons() const
{
    return int(std::min<qsizetype>(m_apps.size(), m_maxIcons));
}

void CompactAppSummary::updateAccessibleName()
{
    setAccessibleName(tr("Apps, %1 selected. Tap to expand.").arg(m_apps.size()));
}

QString CompactAppSummary::overflowText() const
{
    if (m_apps.size() <= m_maxIcons)
        return {};
    return tr("+%1").arg(m_apps.size() - m_maxIcons);
}

QString CompactAppSummary::countText() const
{
    return m_apps.isEmpty() ? tr("None") : QString::number(m_apps.size());
}

CompactAppSummary::Layout CompactAppSummary::layoutFor(const QRectF& bounds) const
{
    // Laid out from the trailing edge: the spacer takes whatever is left after "Apps".
    const QFontMetricsF tag(kestu::Font::tag());
    Layout l;
    const double midY = bounds.center().y();
    double right = bounds.right();
    l.chevron = QRectF(right - chevronSize, midY - chevronSize / 2.0, chevronSize, chevronSize);
    right = l.chevron.left() - spacing;
    const double countWidth = tag.horizontalAdvance(countText());
    l.count = QRectF(right - countWidth, bounds.top(), countWidth, bounds.height());
    right = l.count.left();
    if (const QString overflow = overflowText(); !overflow.isEmpty()) {
        const double w = tag.horizontalAdvance(overflow);
        l.overflow = QRectF(right - spacing - w, bounds.top(), w, bounds.height());
        right = l.overflow.left();
    }
    const int shown = shownIcons();
    if (shown > 0) {
        const double width = shown * m_iconSize - (shown - 1) * iconOverlap;
        double x = right - spacing - width;
        right = x;
        for (int i = 0; i < shown; ++i) {
            l.icons << QRectF(x, midY - m_iconSize / 2.0, m_iconSize, m_iconSize);
            x += m_iconSize - iconOverlap;
        }
    }
    l.apps = QRectF(bounds.left(), bounds.top(), std::max(0.0, right - spacing - bounds.left()), bounds.height());
    return l;
}

QString CompactAppSummary::shownAppsText() const
{
    const QRectF room = layoutFor(QRectF(rect()).adjusted(0, verticalPadding, 0, -verticalPadding)).apps;
    return QFontMetricsF(kestu::Font::caption()).elidedText(appsText(), Qt::ElideRight, room.width());
}

QList<QRectF> CompactAppSummary::iconRects() const
{
    return layoutFor(QRectF(rect()).adjusted(0, verticalPadding, 0, -verticalPadding)).icons;
}

QRectF CompactAppSummary::chevronRect() const
{
    return layoutFor(QRectF(rect()).adjusted(0, verticalPadding, 0, -verticalPadding)).chevron;
}

QSize CompactAppSummary::sizeHint() const
{
    const QFontMetricsF caption(kestu::Font::caption());
    const QFontMetricsF tag(kestu::Font::tag());
    const int shown = shownIcons();
    double width
        = caption.horizontalAdvance(appsText()) + spacing + chevronSize + spacing + tag.horizontalAdvance(countText());
    if (shown > 0)
        width += shown * m_iconSize - (shown - 1) * iconOverlap + spacing;
    if (const QString overflow = overflowText(); !overflow.isEmpty())
        width += tag.horizontalAdvance(overflow) + spacing;
    const double content = std::max({ caption.height(), tag.height(), double(shown > 0 ? m_iconSize : 0) });
    return { int(std::ceil(width)), int(std::ceil(content)) + 2 * verticalPadding };
}

void CompactAppSummary::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = QRectF(rect()).adjusted(0, verticalPadding, 0, -verticalPadding);
    const QColor secondary = kestu::Color::textSecondary().resolve(this);
    const Layout l = layoutFor(bounds);

    p.setPen(secondary);
    p.setFont(kestu::Font::caption());
    p.drawText(l.apps, Qt::AlignLeft | Qt::AlignVCenter, shownAppsText());

    // Drawn first to last, so each icon lies over the 2-point edge of the one before.
    const qreal dpr = devicePixelRatioF();
    for (qsizetype i = 0; i < l.icons.size() && i < m_icons.size(); ++i) {
        const QRectF& r = l.icons[i];
        QPainterPath clip;
        clip.addRoundedRect(r, iconCornerRadius, iconCornerRadius);
        p.save();
        p.setClipPath(clip);
        const QPixmap pm = m_icons[i].pixmap(QSize(m_iconSize, m_iconSize), dpr);
        p.drawPixmap(r, pm, QRectF(pm.rect()));
        p.restore();
    }

    p.setFont(kestu::Font::tag());
    if (!l.overflow.isNull())
        p.drawText(l.overflow, Qt::AlignCenter, overflowText());
    p.drawText(l.count, Qt::AlignCenter, countText());
    kestu::KestuSymbols::paint(p, l.chevron, chevronSymbol, chevronSize, secondary);

    if (kestu::showsFocusRing(this))
        kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small);
}

} // namespace tremlor
