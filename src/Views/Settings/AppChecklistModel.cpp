#include "Views/Settings/AppChecklistModel.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"

#include <QEvent>
#include <QPainter>

namespace tremlor {

namespace {
constexpr int markSize = 18;
constexpr int iconSize = 32;
constexpr int horizontal = 10;
constexpr int spacing = 10;
constexpr int dotSize = 6;
} // namespace

AppChecklistModel::AppChecklistModel(
    std::function<bool(const QString&)> isSelected, std::function<void(const AppInfo&)> press, QObject* parent)
    : QAbstractListModel(parent)
    , m_isSelected(std::move(isSelected))
    , m_press(std::move(press))
    , m_isRunning(&AppInfo::isRunning)
{
}

void AppChecklistModel::setApps(QList<AppInfo> apps)
{
    beginResetModel();
    m_apps = std::move(apps);
    m_running.clear();
    m_icons.clear();
    endResetModel();
}

void AppChecklistModel::setRunningQuery(RunningQuery query)
{
    m_isRunning = std::move(query);
    callerValuesChanged();
}

void AppChecklistModel::callerValuesChanged()
{
    // Only the rows drawn again ask again: the cache spares a hover's redraw the window list.
    m_running.clear();
    m_icons.clear();
    if (!m_apps.isEmpty())
        Q_EMIT dataChanged(index(0), index(static_cast<int>(m_apps.size()) - 1),
            { SelectedRole, Qt::CheckStateRole, RunningRole, IconRole });
}

int AppChecklistModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_apps.size());
}

QVariant AppChecklistModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_apps.size())
        return {};
    const AppInfo& app = m_apps.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return app.name();
    case Qt::AccessibleDescriptionRole:
    case BundleIdRole:
        return app.bundleIdentifier();
    case SelectedRole:
        return m_isSelected(app.bundleIdentifier());
    case Qt::CheckStateRole:
        return m_isSelected(app.bundleIdentifier()) ? Qt::Checked : Qt::Unchecked;
    case RunningRole: {
        auto it = m_running.find(app.bundleIdentifier());
        if (it == m_running.end())
            it = m_running.insert(app.bundleIdentifier(), m_isRunning(app));
        return *it;
    }
    case IconRole: {
        auto it = m_icons.find(app.bundleIdentifier());
        if (it == m_icons.end())
            it = m_icons.insert(app.bundleIdentifier(), app.icon());
        return *it;
    }
    default:
        return {};
    }
}

bool AppChecklistModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= m_apps.size())
        return false;
    // A copy: pressing may refill the rows.
    const AppInfo app = m_apps.at(index.row());
    if ((value.toInt() == Qt::Checked) != m_isSelected(app.bundleIdentifier()))
        m_press(app);
    return true;
}

Qt::ItemFlags AppChecklistModel::flags(const QModelIndex& index) const
{
    // Checkable: Space on the current row sets its check state, which presses it.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags;
}

AppChecklistDelegate::AppChecklistDelegate(bool allowMultiple, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_allowMultiple(allowMultiple)
{
}

QSize AppChecklistDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(200, rowHeight);
}

bool AppChecklistDelegate::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    // The list's click handler presses the row; the style's own check box, hidden under the mark,
    // must not press it a second time.
    if (event->isPointerEvent())
        return false;
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

void AppChecklistDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    const QRect r = option.rect;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_MouseOver)
        p->fillRect(r, kestu::withOpacity(kestu::Color::surfaceTertiary().resolve(widget), 0.7));
    // The current row, only while the keyboard brought the focus to the list.
    if ((option.state & QStyle::State_HasFocus) && kestu::showsFocusRing(widget))
        kestu::paintFocusRing(*p, widget, QRectF(r).adjusted(1, 1, -1, -1), kestu::Radius::small);

    const bool selected = index.data(AppChecklistModel::SelectedRole).toBool();
    const QString mark = m_allowMultiple
        ? (selected ? QStringLiteral("checkmark.square.fill") : QStringLiteral("square"))
        : (selected ? QStringLiteral("circle.inset.filled") : QStringLiteral("circle"));
    double x = r.left() + horizontal;
    kestu::KestuSymbols::paint(*p, QRectF(x, r.center().y() - markSize / 2.0 + 0.5, markSize, markSize), mark, markSize,
        selected ? kestu::Color::accent().resolve(widget) : kestu::Color::textSecondary().resolve(widget));
    x += markSize + spacing;

    const QIcon icon = qvariant_cast<QIcon>(index.data(AppChecklistModel::IconRole));
    icon.paint(p, QRect(static_cast<int>(x), r.center().y() - iconSize / 2 + 1, iconSize, iconSize));
    x += iconSize + spacing;

    const bool running = index.data(AppChecklistModel::RunningRole).toBool();
    const double textRight = r.right() - horizontal - (running ? dotSize + spacing : 0);
    const QFont nameFont = kestu::Font::body();
    QFont idFont = kestu::Font::tag();
    idFont.setWeight(QFont::Normal);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics idMetrics(idFont);
    const int textHeight = nameMetrics.height() + 1 + idMetrics.height();
    const double top = r.center().y() - textHeight / 2.0 + 0.5;
    const int width = static_cast<int>(textRight - x);
    p->setFont(nameFont);
    p->setPen(kestu::Color::text().resolve(widget));
    p->drawText(QRectF(x, top, width, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        nameMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, width));
    p->setFont(idFont);
    p->setPen(kestu::withOpacity(kestu::Color::textSecondary().resolve(widget), 0.8));
    p->drawText(QRectF(x, top + nameMetrics.height() + 1, width, idMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        idMetrics.elidedText(index.data(AppChecklistModel::BundleIdRole).toString(), Qt::ElideRight, width));

    if (running) {
        p->setPen(Qt::NoPen);
        p->setBrush(kestu::Color::success().resolve(widget));
        p->drawEllipse(QRectF(r.right() - horizontal - dotSize, r.center().y() - dotSize / 2.0, dotSize, dotSize));
    }

    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(kestu::Color::border().resolve(widget));
    p->drawLine(r.left() + horizontal, r.bottom(), r.right(), r.bottom());
    p->restore();
}

} // namespace tremlor
