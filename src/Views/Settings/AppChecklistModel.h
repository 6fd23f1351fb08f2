#pragma once

#include "Models/AppInfo.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>

namespace tremlor {

// The rows the checklist shows. A row's icon and running state are read when the row is drawn
// after the list was filled or the caller's values changed, so a long list costs only for the rows
// on screen, and an application that quit loses its dot at the next change. Setting a row's check
// state (Space on the current row, an assistive tool) presses the row.
class AppChecklistModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { BundleIdRole = Qt::UserRole + 1, SelectedRole, RunningRole, IconRole };
    // Whether an application runs: AppInfo::isRunning unless replaced.
    using RunningQuery = std::function<bool(const AppInfo&)>;

    AppChecklistModel(std::function<bool(const QString&)> isSelected, std::function<void(const AppInfo&)> press,
        QObject* parent = nullptr);

    void setApps(QList<AppInfo> apps);
    const QList<AppInfo>& apps() const { return m_apps; }
    void setRunningQuery(RunningQuery query);
    // Redraws every row after the caller's values changed: its mark, and its running state and
    // icon read afresh.
    void callerValuesChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<AppInfo> m_apps;
    std::function<bool(const QString&)> m_isSelected;
    std::function<void(const AppInfo&)> m_press;
    RunningQuery m_isRunning;
    mutable QHash<QString, QIcon> m_icons;
    mutable QHash<QString, bool> m_running;
};

// Draws a row: the check mark, the 32-point icon, the name over the identifier and, for a
// running application, a small green dot; a hairline under each row. It draws the mark itself, so
// the style's check box is never drawn as well.
class AppChecklistDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit AppChecklistDelegate(bool allowMultiple, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

    static constexpr int rowHeight = 44;

private:
    bool m_allowMultiple;
};

} // namespace tremlor
