#include "Views/Settings/SectionListAccessible.h"

#include "Views/Settings/SectionList.h"

#include <QAccessibleWidget>

namespace tremlor {

namespace {

QAccessibleInterface* accessibleOf(QObject* object)
{
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

// Qt's AT-SPI bridge offers no Selection interface here; it offers a table's, which tells
// assistive tools the selected rows. So the list is a one-column table whose cells are its rows,
// and its children are the rows alone.
class ListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(SectionList* list)
        : QAccessibleWidget(list, QAccessible::List)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return int(list()->rows().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<SectionListRow*> rows = list()->rows();
        return index >= 0 && index < rows.size() ? accessibleOf(rows[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(list()->rows().indexOf(qobject_cast<SectionListRow*>(child->object()))) : -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        SectionListRow* current = list()->currentRow();
        return current && current->hasKeyboard() ? accessibleOf(current) : QAccessibleWidget::focusChild();
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return column == 0 ? child(row) : nullptr; }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> selected;
        const QList<SectionListRow*> rows = list()->rows();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i]->isSelected())
                selected << int(i);
        }
        return selected;
    }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (const int row : selectedRows())
            cells << child(row);
        return cells;
    }
    bool isRowSelected(int row) const override { return selectedRows().contains(row); }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= childCount())
            return false;
        list()->setSelectedId(list()->rows().at(row)->id());
        return true;
    }
    bool unselectRow(int row) override
    {
        if (isRowSelected(row))
            list()->setSelectedId(std::nullopt);
        return true;
    }
    QList<int> selectedColumns() const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    bool isColumnSelected(int) const override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { }

private:
    SectionList* list() const { return static_cast<SectionList*>(widget()); }
};

// A row is a cell of its list's table that says whether it is selected and whether the keyboard
// is on it; pressing it selects it, and a row with a menu shows it.
class RowAccessible final : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit RowAccessible(SectionListRow* row)
        : QAccessibleWidget(row, QAccessible::ListItem)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && row()->list())
            return static_cast<QAccessibleTableCellInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessibleInterface* parent() const override
    {
        return row()->list() ? accessibleOf(row()->list()) : QAccessibleWidget::parent();
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = row()->isSelected();
        state.focusable = true;
        state.focused = row()->hasKeyboard();
        return state;
    }
    QStringList actionNames() const override
    {
        QStringList names { pressAction() };
        if (row()->hasMenu())
            names << showMenuAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            Q_EMIT row()->pressed(row()->id());
        else if (name == showMenuAction() && row()->hasMenu())
            row()->openMenu();
        else
            QAccessibleWidget::doAction(name);
    }

    bool isSelected() const override { return row()->isSelected(); }
    int rowIndex() const override { return int(row()->list()->rows().indexOf(row())); }
    int columnIndex() const override { return 0; }
    int rowExtent() const override { return 1; }
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    SectionListRow* row() const { return static_cast<SectionListRow*>(widget()); }
};

} // namespace

QAccessibleInterface* sectionListAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tremlor::SectionListRow"))
        return new RowAccessible(static_cast<SectionListRow*>(object));
    if (className == QLatin1String("tremlor::SectionList"))
        return new ListAccessible(static_cast<SectionList*>(object));
    return nullptr;
}

} // namespace tremlor
