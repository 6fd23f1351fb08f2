#pragma once

#include "Models/AppInfo.h"
#include "Models/Duration.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QWidget>

#include <functional>

class QScrollArea;
class QTimer;
class QVBoxLayout;

namespace kestu {
class KestuEmptyState;
class KestuSearchField;
class KestuSlider;
} // namespace kestu

namespace tremlor {

class AppScanning;
class CompactAppRow;
class ProfilePickerView;
class RotationMenuButton;
class SymbolLabel;
class TremlorEngineProtocol;
class TremlorSettings;

// The panel's expanded section: the movement interval, the profile, the rotation order and the
// applications that sessions bring to the front, with a search over the installed ones and a
// dot beside each running one. Every control writes the store at once and every part redraws
// from the store's and the engine's change signals. Applications start and quit on their own:
// showing the section asks every row at once; while it shows, the rows in sight are asked
// again every two seconds, and a row that scrolls or filters into sight when it has not been
// asked since; while it is hidden nothing is asked.
//
// Choosing a profile (here, from the footer or anywhere else) applies it while the section is
// on screen. That reaction runs once, queued, after the writes that changed activeProfileId:
// an import writes activeProfileId before the profiles it names, and must be read whole.
class PopoverExpandedContent final : public QWidget {
    Q_OBJECT

public:
    PopoverExpandedContent(
        TremlorSettings& settings, TremlorEngineProtocol& engine, AppScanning& scanner, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PopoverExpandedContent)

    static constexpr int intervalLabelWidth = 52;
    static constexpr int listMaximumHeight = 120;
    static constexpr int runningRefreshMs = 2000;

    // How a row learns whether its application runs: AppInfo::isRunning unless replaced.
    using RunningQuery = std::function<bool(const AppInfo&)>;
    void setRunningQuery(RunningQuery query);
    // Runs only while the section is on screen.
    QTimer* runningRefreshTimer() const { return m_runningRefresh; }

    // The installed applications: a fresh scan (the scanner answers from its cache for 30 s),
    // or a list the panel already holds.
    void reloadInstalledApps();
    void setInstalledApps(const QList<AppInfo>& apps);
    const QList<AppInfo>& installedApps() const { return m_installedApps; }

    // The search text lives as long as this section, also while it is closed.
    QString appSearchText() const { return m_searchText; }
    void setAppSearchText(const QString& text);
    // installedApps whose name contains the search text, ignoring case, in their order.
    QList<AppInfo> filteredApps() const;

    kestu::KestuSlider* intervalSlider() const { return m_slider; }
    ProfilePickerView* profilePicker() const { return m_picker; }
    RotationMenuButton* rotationMenu() const { return m_rotation; }
    kestu::KestuSearchField* searchField() const { return m_search; }
    kestu::KestuEmptyState* emptyState() const { return m_empty; }
    QScrollArea* listScrollArea() const { return m_scroll; }
    // The row of an installed application, or null.
    CompactAppRow* row(const QString& bundleIdentifier) const { return m_rows.value(bundleIdentifier); }
    // "N selected", or empty while nothing is selected.
    QString selectedCountText() const;

Q_SIGNALS:
    // A profile was applied: the panel's chosen duration becomes the profile's.
    void selectedDurationChosen(const tremlor::Duration& duration);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makeIntervalRow();
    QWidget* makeAppSection();
    void toggle(const QString& bundleIdentifier);
    void refilter();
    void refreshSelection();
    // Which rows ask whether their application runs; the others keep their last answer.
    enum class RunningAsk {
        everyRow, // and a new round begins
        newRoundInSight,
        inSightNotYetAsked,
        sessionTarget,
    };
    void refreshRunning(RunningAsk ask);
    void scheduleProfileReaction();
    void reactToActiveProfile();

    TremlorSettings& m_settings;
    TremlorEngineProtocol& m_engine;
    AppScanning& m_scanner;
    QList<AppInfo> m_installedApps;
    QString m_searchText;
    bool m_profileReactionQueued = false;
    RunningQuery m_isRunning;
    QTimer* m_runningRefresh = nullptr;
    QSet<const CompactAppRow*> m_askedThisRound;

    kestu::KestuSlider* m_slider = nullptr;
    ProfilePickerView* m_picker = nullptr;
    RotationMenuButton* m_rotation = nullptr;
    SymbolLabel* m_count = nullptr;
    kestu::KestuSearchField* m_search = nullptr;
    kestu::KestuEmptyState* m_empty = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_rowsHost = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    QList<CompactAppRow*> m_rowOrder;
    QHash<QString, CompactAppRow*> m_rows;
};

} // namespace tremlor
