#pragma once

#include "Models/Enumerations.h"

#include <QList>
#include <QWidget>

#include <optional>

namespace kestu {
class KestuSettingsSearchField;
}

namespace tremlor {

class SettingsSidebarRow;

// The settings window's sidebar: the section search above the list of sections. It shows the
// selection it is given and reports clicks; searching never changes the selection.
class SettingsSidebar final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsSidebar(SettingsSection selected, QString searchText, QWidget* parent = nullptr);
    ~SettingsSidebar() override;

    // The sections whose title or a keyword contains `searchText` (full Unicode lower-casing, no
    // trimming), in declaration order; all of them for the empty text.
    static QList<SettingsSection> filteredSections(const QString& searchText);

    QString searchText() const { return m_searchText; }
    void setSearchText(const QString& text);
    void setSelectedSection(SettingsSection section);
    QList<SettingsSection> visibleSections() const;
    // The section whose row is drawn selected: none while the selection is filtered out.
    std::optional<SettingsSection> highlightedSection() const;
    SettingsSidebarRow* row(SettingsSection section) const;
    kestu::KestuSettingsSearchField* searchField() const { return m_search; }

Q_SIGNALS:
    void sectionClicked(tremlor::SettingsSection section);
    void searchTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Up and Down move to the neighbouring listed section.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFilter();

    SettingsSection m_selected;
    QString m_searchText;
    kestu::KestuSettingsSearchField* m_search;
    QList<SettingsSidebarRow*> m_rows;
};

} // namespace tremlor
