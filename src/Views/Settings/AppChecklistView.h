#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"
#include "Models/AppInfo.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QListView;

namespace kestu {
class KestuTextField;
}

namespace tremlor {

class AppChecklistModel;
class FormButton;
class TokenLabel;

// The searchable list of installed applications with which the user chooses the ones a session
// brings forward. It owns neither the list nor the choice: the caller hands in the applications
// and bindings to the chosen identifiers and to the search text.
class AppChecklistView final : public QWidget {
    Q_OBJECT

public:
    // With `searchTakesKeyboard`, the search field takes the keyboard once the view is made.
    AppChecklistView(QList<AppInfo> apps, kestu::KestuBinding<QStringList> selectedIDs, bool allowMultiple,
        kestu::KestuBinding<QString> searchText, QWidget* parent = nullptr, bool searchTakesKeyboard = true);

    void setApps(QList<AppInfo> apps);
    // How a row learns whether its application runs: AppInfo::isRunning unless replaced.
    void setRunningQuery(std::function<bool(const AppInfo&)> query);
    // Follows outside changes of the bound choice and search text.
    void refresh();

    // The applications whose name or identifier contains the search text (case-insensitive, as
    // typed), in the given order; all of them for the empty text.
    QList<AppInfo> filteredApps() const;
    void toggleSelection(const AppInfo& app);
    // Appends the listed applications not yet chosen, after those already chosen.
    void selectAll();
    // Removes the listed applications from the choice; every other chosen identifier stays.
    void deselectAll();

    QListView* list() const { return m_list; }
    kestu::KestuTextField* searchField() const { return m_search; }
    // Shown only while there is search text.
    QAbstractButton* clearButton() const { return m_clear; }

private:
    void applyFilter();
    void updateCount();

    QList<AppInfo> m_apps;
    kestu::KestuBinding<QStringList> m_selectedIDs;
    bool m_allowMultiple;
    kestu::KestuBinding<QString> m_searchText;
    QString m_shownSearch;
    kestu::KestuTextField* m_search;
    QAbstractButton* m_clear;
    TokenLabel* m_count = nullptr;
    AppChecklistModel* m_model;
    QListView* m_list;
};

} // namespace tremlor
