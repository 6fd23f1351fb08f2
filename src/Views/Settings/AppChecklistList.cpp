#include "Views/Settings/AppChecklistList.h"

#include "Views/Shared/AccessibleFactory.h"
#include "Views/Shared/CurrentRowFocus.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace tremlor {

namespace {

// A row: a check box named after its application, its identifier as the description.
class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(AppChecklistList* list, int row)
        : m_list(list)
        , m_row(row)
    {
    }

    bool isValid() const override { return m_list && m_list->model() && m_row < m_list->model()->rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_list->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_list); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return index().data(Qt::AccessibleTextRole).toString();
        if (t == QAccessible::Description)
            return index().data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override
    {
        const QRect shown = m_list->visualRect(index());
        return QRect(m_list->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.focused = m_list->hasFocus() && m_list->currentIndex() == index();
        state.checkable = true;
        state.checked = index().data(Qt::CheckStateRole).toInt() == Qt::Checked;
        state.invisible = !m_list->viewport()->rect().intersects(m_list->visualRect(index()));
        state.offscreen = state.invisible;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return { toggleAction() }; }
    void doAction(const QString& name) override
    {
        if (name == toggleAction())
            m_list->model()->setData(index(), state().checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QModelIndex index() const { return m_list->model()->index(m_row, 0); }

    QPointer<AppChecklistList> m_list;
    int m_row;
};

class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(AppChecklistList* list)
        : QAccessibleWidget(list, QAccessible::List)
    {
    }

    int childCount() const override { return list()->model() ? list()->model()->rowCount() : 0; }
    QAccessibleInterface* child(int index) const override { return list()->rowAccessible(index); }
    int indexOfChild(const QAccessibleInterface* child) const override { return list()->rowOf(child); }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex at = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return at.isValid() ? child(at.row()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return list()->hasFocus() && list()->currentIndex().isValid() ? child(list()->currentIndex().row()) : nullptr;
    }

private:
    AppChecklistList* list() const { return static_cast<AppChecklistList*>(widget()); }
};

} // namespace

AppChecklistList::AppChecklistList(QWidget* parent)
    : QListView(parent)
{
    installAccessible<AppChecklistList, ListAccessible>();
    setSelectionMode(QAbstractItemView::NoSelection);
}

AppChecklistList::~AppChecklistList()
{
    forgetRows();
}

void AppChecklistList::setModel(QAbstractItemModel* model)
{
    forgetRows();
    QListView::setModel(model);
    connect(model, &QAbstractItemModel::modelReset, this, &AppChecklistList::forgetRows);
    connect(model, &QAbstractItemModel::layoutChanged, this, &AppChecklistList::forgetRows);
    connect(model, &QAbstractItemModel::rowsInserted, this, &AppChecklistList::forgetRows);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &AppChecklistList::forgetRows);
}

QAccessibleInterface* AppChecklistList::rowAccessible(int row) const
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return nullptr;
    if (const auto told = m_rows.constFind(row); told != m_rows.constEnd())
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(told->id))
            return known;
    auto* made = new RowAccessible(const_cast<AppChecklistList*>(this), row);
    m_rows.insert(row, { QAccessible::registerAccessibleInterface(made), isChecked(row) });
    return made;
}

int AppChecklistList::rowOf(const QAccessibleInterface* row) const
{
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it)
        if (QAccessible::accessibleInterface(it->id) == row)
            return it.key();
    return -1;
}

void AppChecklistList::focusInEvent(QFocusEvent* event)
{
    QListView::focusInEvent(event);
    tellCurrentRow(this);
}

void AppChecklistList::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QListView::dataChanged(topLeft, bottomRight, roles);
    // Only rows a screen reader has asked about are told of.
    for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
        const int row = it.key();
        if (row < topLeft.row() || row > bottomRight.row() || isChecked(row) == it->checked)
            continue;
        it->checked = !it->checked;
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(it->id)) {
            QAccessible::State checked;
            checked.checked = true;
            QAccessibleStateChangeEvent event(known, checked);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void AppChecklistList::forgetRows()
{
    for (const Told& told : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(told.id);
    m_rows.clear();
}

bool AppChecklistList::isChecked(int row) const
{
    return model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

} // namespace tremlor
