#pragma once

#include "Models/Enumerations.h"

#include <QList>
#include <QModelIndex>
#include <QWidget>

class QListView;

namespace kestu {
class KestuSettingsSearchField;
}

namespace tremlor {

class SettingsSidebarModel;

// The settings window's sidebar: the section search above the list of sections, a single
// selection list, so that assistive tools hear which section is selected. It shows the selection
// it is given and reports the user's choice (a click, the arrow keys, Down or Return in the search
// field); searching never changes the selection.
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
    QListView* list() const { return m_list; }
    // The row of `section` in the list; invalid while the section is filtered out.
    QModelIndex indexOf(SettingsSection section) const;
    kestu::KestuSettingsSearchField* searchField() const { return m_search; }

Q_SIGNALS:
    // `byKeys`: chosen with the keys of the list while it holds the keyboard, which stays there.
    void sectionChosen(tremlor::SettingsSection section, bool byKeys);
    void searchTextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    // Selects the selected section's row, or none while it is filtered out.
    void showSelection();

    SettingsSection m_selected;
    QString m_searchText;
    kestu::KestuSettingsSearchField* m_search;
    SettingsSidebarModel* m_model;
    QListView* m_list;
    bool m_showing = false;
    bool m_choosingByKeys = false;
};

} // namespace tremlor
