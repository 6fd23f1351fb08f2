#include "Views/Settings/SettingsSidebar.h"

#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/SettingsSidebarModel.h"
#include "Views/Shared/CurrentRowFocus.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

namespace {
// The current row is where the keyboard is: the list has one only while it has the keyboard, so
// that no row reports focused to a screen reader while a control elsewhere has it. When the list
// takes the keyboard its current row is the selected one, and it is told as focused.
class SectionList final : public QListView {
public:
    using QListView::QListView;

    // A key press of the list's own is being handled (the arrows, Home, End, typing a title).
    bool isHandlingKey() const { return m_handlingKey; }

    // Selects `index` (none when invalid), the current row with it while the list has the keyboard.
    void showSelected(const QModelIndex& index)
    {
        if (!index.isValid())
            selectionModel()->clear();
        else if (hasFocus())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        else
            selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QScopedValueRollback handling(m_handlingKey, hasFocus());
        QListView::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        const QModelIndexList selected = selectionModel()->selectedRows();
        if (!currentIndex().isValid() && !selected.isEmpty())
            selectionModel()->setCurrentIndex(selected.first(), QItemSelectionModel::NoUpdate);
        QListView::focusInEvent(event);
        tellCurrentRow(this);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        QListView::focusOutEvent(event);
    }
    // A section is always selected: a click beside the rows, or on the selected row with Ctrl
    // held, keeps it.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent*) const override
    {
        return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
    }
    // With the selected section filtered out, Up starts from the last row as Down does from the first.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        const int rows = model()->rowCount();
        if (!currentIndex().isValid() && action == MoveUp && rows > 0)
            return model()->index(rows - 1, 0);
        return QListView::moveCursor(action, modifiers);
    }

private:
    bool m_handlingKey = false;
};
} // namespace

QList<SettingsSection> SettingsSidebar::filteredSections(const QString& searchText)
{
    QList<SettingsSection> result;
    const QString query = searchText.toLower();
    for (SettingsSection section : allCases<SettingsSection>()) {
        bool hit = query.isEmpty() || title(section).toLower().contains(query);
        if (!hit) {
            const QStringList keywords = searchableKeywords(section);
            hit = std::any_of(keywords.begin(), keywords.end(),
                [&](const QString& keyword) { return keyword.toLower().contains(query); });
        }
        if (hit)
            result << section;
    }
    return result;
}

SettingsSidebar::SettingsSidebar(SettingsSection selected, QString searchText, QWidget* parent)
    : QWidget(parent)
    , m_selected(selected)
    , m_searchText(std::move(searchText))
    , m_search(new kestu::KestuSettingsSearchField(kestu::KestuBinding<QString>([this] { return m_searchText; },
                                                       [this](const QString& text) { setSearchText(text); }),
          tr("Search settings..."), this))
    , m_model(new SettingsSidebarModel(this))
    , m_list(new SectionList(this))
{
    setObjectName(QStringLiteral("settings-sidebar"));
    setAccessibleName(tr("Settings sections"));
    m_search->setObjectName(QStringLiteral("settings-search"));
    m_search->setAccessibleName(tr("Search settings"));
    m_search->lineEdit()->setObjectName(QStringLiteral("settings-search-field"));
    m_search->lineEdit()->setAccessibleName(tr("Search settings"));
    // The sidebar's search row is tighter than the kit's field.
    m_search->layout()->setContentsMargins(6, 4, 6, 4);

    auto* layout = new QVBoxLayout(this);
    const int space8 = static_cast<int>(kestu::Space::space8);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* searchRow = new QVBoxLayout;
    searchRow->setContentsMargins(space8, space8, space8, static_cast<int>(kestu::Space::space4));
    searchRow->addWidget(m_search);
    layout->addLayout(searchRow);

    m_list->setObjectName(QStringLiteral("settings-sections"));
    m_list->setAccessibleName(tr("Settings sections"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SettingsSidebarDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->viewport()->setCursor(Qt::PointingHandCursor);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = m_list->selectionModel()->selectedRows();
        if (!m_showing && !rows.isEmpty())
            Q_EMIT sectionChosen(m_model->sections().at(rows.first().row()),
                m_choosingByKeys || static_cast<SectionList*>(m_list)->isHandlingKey());
    });
    m_search->lineEdit()->installEventFilter(this);
    auto* list = new QVBoxLayout;
    list->setContentsMargins(space8, 0, space8, space8);
    list->addWidget(m_list);
    layout->addLayout(list, 1);
    applyFilter();
}

SettingsSidebar::~SettingsSidebar()
{
    // The controls' bindings read this widget's members: they go first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void SettingsSidebar::setSearchText(const QString& text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    m_search->refresh();
    applyFilter();
    Q_EMIT searchTextChanged(text);
}

void SettingsSidebar::setSelectedSection(SettingsSection section)
{
    m_selected = section;
    showSelection();
}

void SettingsSidebar::applyFilter()
{
    const QList<SettingsSection> shown = filteredSections(m_searchText);
    if (shown != m_model->sections()) {
        const QScopedValueRollback showing(m_showing, true);
        m_model->setSections(shown);
    }
    showSelection();
}

void SettingsSidebar::showSelection()
{
    const QScopedValueRollback showing(m_showing, true);
    static_cast<SectionList*>(m_list)->showSelected(indexOf(m_selected));
}

QList<SettingsSection> SettingsSidebar::visibleSections() const
{
    return m_model->sections();
}

QModelIndex SettingsSidebar::indexOf(SettingsSection section) const
{
    const qsizetype row = m_model->sections().indexOf(section);
    return row < 0 ? QModelIndex() : m_model->index(static_cast<int>(row));
}

bool SettingsSidebar::eventFilter(QObject* watched, QEvent* event)
{
    // In the search field, Down walks into the results at the first one, and Return opens it,
    // also when it is already selected. (The type first: the field sees other events while the
    // sidebar takes it down.)
    if (event->type() == QEvent::KeyPress && watched == m_search->lineEdit()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool down = key->key() == Qt::Key_Down;
        const bool open = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if ((down || open) && key->modifiers() == Qt::NoModifier && m_model->rowCount() > 0) {
            const QModelIndex first = m_model->index(0);
            if (down) {
                m_list->setFocus(Qt::TabFocusReason);
                const QScopedValueRollback byKeys(m_choosingByKeys, true);
                m_list->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
            } else if (m_list->selectionModel()->isSelected(first)) {
                Q_EMIT sectionChosen(m_model->sections().first(), false);
            } else {
                static_cast<SectionList*>(m_list)->showSelected(first);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsSidebar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kestu::Color::surfaceSecondary().resolve(this));
}

} // namespace tremlor
