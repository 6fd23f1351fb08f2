#include "Views/Settings/AppChecklistView.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Popover/SymbolLabel.h"
#include "Views/Settings/AppChecklistList.h"
#include "Views/Settings/AppChecklistModel.h"
#include "Views/Shared/FormButton.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/Hairline.h"
#include "Views/Shared/LocalizedSearch.h"
#include "Views/Shared/TokenLabel.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QVBoxLayout>

namespace tremlor {

namespace {
// The search row's symbols are drawn at the size of the field's text.
int symbolSize()
{
    return kestu::Font::body().pixelSize();
}

// Empties the search; drawn in the secondary text colour of the current appearance.
class ClearButton final : public QAbstractButton {
public:
    explicit ClearButton(QWidget* parent)
        : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::ArrowCursor);
        setAccessibleName(tr("Clear"));
        setFixedSize(symbolSize() + 2, symbolSize() + 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        kestu::KestuSymbols::paint(p, QRectF(rect()), QStringLiteral("xmark.circle.fill"), symbolSize(),
            kestu::Color::textSecondary().resolve(this));
    }
};

// Case-insensitive containment as typed (no trimming).
bool matches(const AppInfo& app, const QString& text)
{
    return localizedCaseInsensitiveContains(app.name(), text)
        || localizedCaseInsensitiveContains(app.bundleIdentifier(), text);
}
} // namespace

AppChecklistView::AppChecklistView(QList<AppInfo> apps, kestu::KestuBinding<QStringList> selectedIDs,
    bool allowMultiple, kestu::KestuBinding<QString> searchText, QWidget* parent, bool searchTakesKeyboard)
    : QWidget(parent)
    , m_apps(std::move(apps))
    , m_selectedIDs(std::move(selectedIDs))
    , m_allowMultiple(allowMultiple)
    , m_searchText(std::move(searchText))
    , m_search(nullptr)
    , m_clear(nullptr)
    , m_model(nullptr)
    , m_list(nullptr)
{
    setObjectName(QStringLiteral("app-checklist"));
    setAccessibleName(tr("Applications"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The field writes each keystroke through this binding; the list and the clear button follow.
    m_search = new kestu::KestuTextField(tr("Search apps\u2026"),
        { [this] { return m_searchText.get(); },
            [this](const QString& text) {
                m_searchText.set(text);
                applyFilter();
                m_clear->setVisible(!text.isEmpty());
            } },
        std::nullopt, Qt::AlignLeft, false, false, searchTakesKeyboard, nullptr, nullptr, this);
    m_search->setObjectName(QStringLiteral("apps-search-field"));
    m_search->setAccessibleName(tr("Search apps"));
    m_clear = new ClearButton(this);
    m_clear->setObjectName(QStringLiteral("apps-search-clear"));
    m_clear->setVisible(!m_searchText.get().isEmpty());
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_search->replaceText(QString()); });
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(8, 8, 8, 8);
    searchRow->setSpacing(6);
    searchRow->addWidget(new SymbolLabel(QStringLiteral("magnifyingglass"), QString(), kestu::Font::body(),
                             kestu::Color::textSecondary(), this, 0),
        0, Qt::AlignVCenter);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_clear, 0, Qt::AlignVCenter);
    layout->addLayout(searchRow);
    layout->addWidget(new Hairline(this));

    if (m_allowMultiple) {
        auto* bar = new QHBoxLayout;
        bar->setContentsMargins(10, 6, 10, 6);
        bar->setSpacing(static_cast<int>(kestu::Space::space8));
        auto* selectAllButton = new FormButton(tr("Select All"), this);
        selectAllButton->setObjectName(QStringLiteral("select-all-button"));
        auto* deselectAllButton = new FormButton(tr("Deselect All"), this);
        deselectAllButton->setObjectName(QStringLiteral("deselect-all-button"));
        connect(selectAllButton, &QAbstractButton::clicked, this, &AppChecklistView::selectAll);
        connect(deselectAllButton, &QAbstractButton::clicked, this, &AppChecklistView::deselectAll);
        m_count = new TokenLabel(QString(), kestu::Font::caption(), kestu::Color::textSecondary(), this);
        m_count->setObjectName(QStringLiteral("selected-count"));
        bar->addWidget(selectAllButton);
        bar->addWidget(deselectAllButton);
        bar->addStretch(1);
        bar->addWidget(m_count);
        layout->addLayout(bar);
        layout->addWidget(new Hairline(this));
    }

    m_model = new AppChecklistModel([this](const QString& id) { return m_selectedIDs.get().contains(id); },
        [this](const AppInfo& app) { toggleSelection(app); }, this);
    // Made after the search row and the bar, so that Tab reaches the list last.
    m_list = new AppChecklistList(this);
    m_list->setObjectName(QStringLiteral("apps-list"));
    m_list->setAccessibleName(tr("Applications"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new AppChecklistDelegate(m_allowMultiple, m_list));
    m_list->setUniformItemSizes(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    // Tab reaches the rows, a click leaves the keyboard with the search field.
    m_list->setFocusPolicy(Qt::TabFocus);
    applySlimScrollBars(m_list);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() < m_model->apps().size())
            toggleSelection(m_model->apps().at(index.row()));
    });
    layout->addWidget(m_list, 1);

    applyFilter();
    updateCount();
}

void AppChecklistView::setRunningQuery(std::function<bool(const AppInfo&)> query)
{
    m_model->setRunningQuery(std::move(query));
    m_list->viewport()->update();
}

void AppChecklistView::setApps(QList<AppInfo> apps)
{
    m_apps = std::move(apps);
    applyFilter();
}

QList<AppInfo> AppChecklistView::filteredApps() const
{
    const QString text = m_searchText.get();
    if (text.isEmpty())
        return m_apps;
    QList<AppInfo> result;
    for (const AppInfo& app : m_apps) {
        if (matches(app, text))
            result << app;
    }
    return result;
}

void AppChecklistView::applyFilter()
{
    m_shownSearch = m_searchText.get();
    m_model->setApps(filteredApps());
}

void AppChecklistView::refresh()
{
    m_search->refresh();
    m_clear->setVisible(!m_searchText.get().isEmpty());
    if (m_searchText.get() != m_shownSearch)
        applyFilter();
    m_model->callerValuesChanged();
    // The rows cannot be selected, and a list redraws only the selectable rows of a change: the
    // whole list is drawn again, and with it each row's mark, dot and icon.
    m_list->viewport()->update();
    updateCount();
}

void AppChecklistView::updateCount()
{
    if (!m_count)
        return;
    const qsizetype n = m_selectedIDs.get().size();
    m_count->setText(tr("%1 selected").arg(n));
    m_count->setAccessibleName(m_count->text());
}

void AppChecklistView::toggleSelection(const AppInfo& app)
{
    const QString& id = app.bundleIdentifier();
    QStringList ids = m_selectedIDs.get();
    if (m_allowMultiple) {
        if (ids.contains(id))
            ids.removeAt(ids.indexOf(id));
        else
            ids.append(id);
    } else {
        ids = ids.contains(id) ? QStringList() : QStringList { id };
    }
    m_selectedIDs.set(ids);
    refresh();
}

void AppChecklistView::selectAll()
{
    // One write of the whole result: the store saves every assignment, and a press over a
    // thousand applications must not save the list a thousand times.
    QStringList ids = m_selectedIDs.get();
    QSet<QString> chosen(ids.begin(), ids.end());
    bool changed = false;
    for (const AppInfo& app : filteredApps()) {
        if (!chosen.contains(app.bundleIdentifier())) {
            chosen.insert(app.bundleIdentifier());
            ids.append(app.bundleIdentifier());
            changed = true;
        }
    }
    if (changed)
        m_selectedIDs.set(ids);
    refresh();
}

void AppChecklistView::deselectAll()
{
    QSet<QString> listed;
    for (const AppInfo& app : filteredApps())
        listed.insert(app.bundleIdentifier());
    QStringList ids = m_selectedIDs.get();
    ids.removeIf([&listed](const QString& id) { return listed.contains(id); });
    m_selectedIDs.set(ids);
    refresh();
}

} // namespace tremlor
