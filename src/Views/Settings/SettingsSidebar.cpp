#include "Views/Settings/SettingsSidebar.h"

#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/SettingsSidebarRow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

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

    auto* list = new QVBoxLayout;
    list->setContentsMargins(space8, 0, space8, space8);
    list->setSpacing(1);
    for (SettingsSection section : allCases<SettingsSection>()) {
        auto* row = new SettingsSidebarRow(section, this);
        connect(row, &QAbstractButton::clicked, this, [this, section] { Q_EMIT sectionClicked(section); });
        list->addWidget(row);
        m_rows << row;
    }
    layout->addLayout(list);
    layout->addStretch(1);
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
    applyFilter();
}

void SettingsSidebar::applyFilter()
{
    const QList<SettingsSection> shown = filteredSections(m_searchText);
    for (SettingsSidebarRow* row : m_rows) {
        const bool visible = shown.contains(row->section());
        row->setVisible(visible);
        row->setHighlighted(visible && row->section() == m_selected);
    }
}

QList<SettingsSection> SettingsSidebar::visibleSections() const
{
    QList<SettingsSection> result;
    for (SettingsSidebarRow* row : m_rows) {
        if (!row->isHidden())
            result << row->section();
    }
    return result;
}

std::optional<SettingsSection> SettingsSidebar::highlightedSection() const
{
    for (SettingsSidebarRow* row : m_rows) {
        if (row->isHighlighted())
            return row->section();
    }
    return std::nullopt;
}

SettingsSidebarRow* SettingsSidebar::row(SettingsSection section) const
{
    return m_rows.value(static_cast<int>(section));
}

void SettingsSidebar::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Up ? -1 : event->key() == Qt::Key_Down ? 1 : 0;
    const QList<SettingsSection> shown = visibleSections();
    if (step == 0 || shown.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const qsizetype at = shown.indexOf(m_selected);
    const qsizetype next
        = at < 0 ? (step > 0 ? 0 : shown.size() - 1) : std::clamp<qsizetype>(at + step, 0, shown.size() - 1);
    if (shown.at(next) != m_selected || at < 0) {
        Q_EMIT sectionClicked(shown.at(next));
        row(shown.at(next))->setFocus(Qt::OtherFocusReason);
    }
    event->accept();
}

void SettingsSidebar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kestu::Color::surfaceSecondary().resolve(this));
    p.setPen(kestu::Color::border().resolve(this));
    p.drawLine(width() - 1, 0, width() - 1, height());
}

} // namespace tremlor
