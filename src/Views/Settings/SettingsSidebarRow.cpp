#include "Views/Settings/SettingsSidebarRow.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Shared/TremlorColor.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>

namespace tremlor {

namespace {
constexpr int symbolSize = 14;
constexpr int rowHeight = 30;
} // namespace

SettingsSidebarRow::SettingsSidebarRow(SettingsSection section, QWidget* parent)
    : QAbstractButton(parent)
    , m_section(section)
{
    setObjectName(QStringLiteral("settings-section-") + rawValue(section));
    setAccessibleName(title(section));
    setText(title(section));
    setFont(kestu::Font::body());
    setCheckable(false);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SettingsSidebarRow::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    QAccessible::State state;
    state.selected = true;
    QAccessibleStateChangeEvent event(this, state);
    QAccessible::updateAccessibility(&event);
    update();
}

QSize SettingsSidebarRow::sizeHint() const
{
    return QSize(160, rowHeight);
}

void SettingsSidebarRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0, 1, 0, -1);
    QPainterPath path;
    path.addRoundedRect(r, kestu::Radius::small + 2, kestu::Radius::small + 2);

    QColor symbolColor = Color::accent();
    QColor textColor = kestu::Color::text().resolve(this);
    if (m_highlighted) {
        p.fillPath(path, Color::accentGradient(r));
        symbolColor = kestu::Color::white().resolve(this);
        textColor = symbolColor;
    } else if (underMouse() || isDown()) {
        p.fillPath(path, kestu::Color::surfaceTertiary().resolve(this));
    }
    if (hasFocus() && !m_highlighted) {
        p.setPen(QPen(kestu::withOpacity(Color::accent(), 0.7), 1.5));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), kestu::Radius::small + 1, kestu::Radius::small + 1);
    }

    const double x = kestu::Space::space8;
    kestu::KestuSymbols::paint(p, QRectF(x, (height() - symbolSize) / 2.0, symbolSize + 2, symbolSize),
        tremlor::icon(m_section), symbolSize, symbolColor);
    p.setPen(textColor);
    QFont f = font();
    if (m_highlighted)
        f.setWeight(QFont::Medium);
    p.setFont(f);
    const double textX = x + symbolSize + 2 + kestu::Space::space8;
    p.drawText(
        QRectF(textX, 0, width() - textX - kestu::Space::space8, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
}

} // namespace tremlor
