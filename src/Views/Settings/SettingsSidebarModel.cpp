#include "Views/Settings/SettingsSidebarModel.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QPainter>
#include <QPainterPath>

namespace tremlor {

namespace {
constexpr int symbolSize = 14;
constexpr int rowHeight = 30;
constexpr int rowGap = 1;
} // namespace

SettingsSidebarModel::SettingsSidebarModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void SettingsSidebarModel::setSections(QList<SettingsSection> sections)
{
    beginResetModel();
    m_sections = std::move(sections);
    endResetModel();
}

int SettingsSidebarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_sections.size());
}

QVariant SettingsSidebarModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_sections.size())
        return {};
    const SettingsSection section = m_sections.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return title(section);
    case SectionRole:
        return static_cast<int>(section);
    default:
        return {};
    }
}

QSize SettingsSidebarDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(160, rowHeight + rowGap);
}

void SettingsSidebarDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    const auto section = static_cast<SettingsSection>(index.data(SettingsSidebarModel::SectionRole).toInt());
    const bool selected = option.state & QStyle::State_Selected;
    const QRect row(option.rect.topLeft(), QSize(option.rect.width(), rowHeight));
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(row).adjusted(0, 1, 0, -1);
    QPainterPath path;
    path.addRoundedRect(r, kestu::Radius::small + 2, kestu::Radius::small + 2);

    const QColor accent = kestu::Color::accent().resolve(widget);
    QColor symbolColor = accent;
    QColor textColor = kestu::Color::text().resolve(widget);
    if (selected) {
        // The desktop's own selection: its highlight, and the text colour made for it.
        p->fillPath(path, accent);
        symbolColor = option.palette.color(QPalette::HighlightedText);
        textColor = symbolColor;
    } else if (option.state & QStyle::State_MouseOver) {
        p->fillPath(path, kestu::Color::surfaceTertiary().resolve(widget));
    }
    // The row with the keyboard, selected or not; the ring stands out from the selection's fill too.
    if ((option.state & QStyle::State_HasFocus) && kestu::showsFocusRing(widget))
        kestu::paintFocusRing(*p, widget, r, kestu::Radius::small + 2, selected ? accent : QColor(),
            kestu::Color::surfaceSecondary().resolve(widget));

    const double x = row.left() + kestu::Space::space8;
    kestu::KestuSymbols::paint(*p, QRectF(x, row.top() + (rowHeight - symbolSize) / 2.0, symbolSize + 2, symbolSize),
        tremlor::icon(section), symbolSize, symbolColor);
    p->setPen(textColor);
    QFont f = kestu::Font::body();
    if (selected)
        f.setWeight(QFont::Medium);
    p->setFont(f);
    const double textX = x + symbolSize + 2 + kestu::Space::space8;
    p->drawText(QRectF(textX, row.top(), row.right() + 1 - textX - kestu::Space::space8, rowHeight),
        Qt::AlignVCenter | Qt::AlignLeft, index.data(Qt::DisplayRole).toString());
    p->restore();
}

} // namespace tremlor
