#pragma once

#include <QAccessible>
#include <QHash>
#include <QListView>

namespace tremlor {

// The checklist's rows. Clicks and keys move only the current row: the marks, not a selection,
// show the choice. A screen reader hears a list of check boxes, each named after its application
// and checked or not, the one with the keyboard focused; a mark that changes is told. (Qt's own
// list tells its rows as list items, and Qt 6.4's bridge never sends "checkable": an unticked
// row would say nothing.)
class AppChecklistList final : public QListView {
    Q_OBJECT

public:
    explicit AppChecklistList(QWidget* parent = nullptr);
    ~AppChecklistList() override;
    Q_DISABLE_COPY_MOVE(AppChecklistList)

    void setModel(QAbstractItemModel* model) override;
    // What a screen reader knows of `row` (kept by Qt's accessibility cache), or null.
    QAccessibleInterface* rowAccessible(int row) const;
    // The row that `row` stands for, or -1.
    int rowOf(const QAccessibleInterface* row) const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex&, const QEvent*) const override
    {
        return QItemSelectionModel::NoUpdate;
    }
    void focusInEvent(QFocusEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles = {}) override;

private:
    // The rows' interfaces stand for rows by their place: a new set of rows needs new ones.
    void forgetRows();
    bool isChecked(int row) const;

    struct Told {
        QAccessible::Id id;
        bool checked;
    };
    mutable QHash<int, Told> m_rows;
};

} // namespace tremlor
