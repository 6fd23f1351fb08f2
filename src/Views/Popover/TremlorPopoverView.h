#pragma once

#include "Helpers/AppScanning.h"
#include "Models/AppInfo.h"
#include "Models/Duration.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QLabel;
class QVBoxLayout;

namespace kestu {
class KestuButton;
}

namespace tremlor {

class CompactAppSummary;
class DisclosureToggle;
class PopoverExpandedContent;
class SectionReveal;
class DurationPickerView;
class FooterIconButton;
class StatusHeaderView;
class TremlorEngineProtocol;
class TremlorSettings;

// The panel under the tray icon: the product's name, the session status with its ring, the
// duration chips, Start/Stop, the further options (or a summary of the chosen applications)
// and a footer to switch profile, open the settings and quit. It writes the store at once and
// redraws from the store's and the engine's signals; what it asks of its host (hide the panel,
// open the settings window, quit) it announces as signals.
class TremlorPopoverView final : public QWidget {
    Q_OBJECT

public:
    using AppScannerFactory = std::function<std::unique_ptr<AppScanning>()>;
    // The image registered under a glyph name; a null icon when there is none.
    using GlyphLookup = std::function<QIcon(const QString& name)>;

    TremlorPopoverView(TremlorSettings& settings, TremlorEngineProtocol& engine, const AppScannerFactory& makeScanner,
        QWidget* parent = nullptr);
    ~TremlorPopoverView() override;
    Q_DISABLE_COPY_MOVE(TremlorPopoverView)

    static constexpr int panelWidth = 320;

    // The duration the panel opens with: the last one used, else the default (a preset or a
    // custom length), else one hour.
    static Duration initialDuration(const TremlorSettings& settings);

    Duration selectedDuration() const { return m_selectedDuration; }
    // The chips follow with their spring, or at once (the digit keys).
    void setSelectedDuration(const Duration& duration, bool animated = true);
    // The glyph beside the name: paused, active or idle.
    QString popoverGlyphName() const;
    // Where the glyph images are registered (by default the kit's symbol table).
    void setGlyphLookup(GlyphLookup lookup);
    // Filled by a fresh scan each time the panel comes on screen.
    const QList<AppInfo>& installedApps() const { return m_installedApps; }
    double profileCycleAngle() const { return m_profileCycleAngle; }

    // The Start/Stop button's action: records and starts (closing the options), or stops;
    // either way the panel is dismissed.
    void toggleSession();
    // Return: presses the focused push button (Start/Stop included); else starts and dismisses
    // (with the focused chip's duration), or only stops (the panel stays open).
    void returnAction();
    // Applies the profile after the active one (the first when none matches) and takes its
    // duration; the footer icon tilts unless motion is reduced.
    void cycleToNextProfile();

    StatusHeaderView* statusHeader() const { return m_status; }
    DurationPickerView* durationPicker() const { return m_picker; }
    kestu::KestuButton* startStopButton() const;
    DisclosureToggle* disclosureToggle() const { return m_disclosure; }
    FooterIconButton* profileCycleButton() const { return m_profileButton; }
    // What stands between the disclosure toggle and the lower divider: the further options, or
    // the summary of the chosen applications, or nothing.
    PopoverExpandedContent* expandedContent() const { return m_expanded; }
    CompactAppSummary* compactAppsSummary() const { return m_summary; }
    SectionReveal* expandedReveal() const { return m_expandedReveal; }
    SectionReveal* summaryReveal() const { return m_summaryReveal; }

Q_SIGNALS:
    void openSettingsRequested();
    void quitRequested();
    void dismissPopoverRequested();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showDuration(const Duration& duration, bool animated);
    QWidget* buildHeader();
    QWidget* buildFooter();
    void buildShortcuts();
    void refreshStatus();
    void refreshGlyph();
    void refreshToggleButton();
    void refreshStartLabel();
    void refreshSection(bool animated);
    // As tall as the content, whatever shows below the toggle.
    void fitHeight();
    QList<AppInfo> selectedInstalledApps() const;
    // The first control Tab reaches in the further options.
    QWidget* firstOptionsControl() const;
    // The drop-down list of a combo box of this panel.
    bool isOwnList(const QWidget* window) const;
    // Puts the keyboard on the chosen chip, or on Start/Stop when no chip is chosen.
    void landKeyboard();
    void refreshFooter();
    void startSession();

    TremlorSettings& m_settings;
    TremlorEngineProtocol& m_engine;
    std::unique_ptr<AppScanning> m_scanner;
    GlyphLookup m_glyphLookup;

    Duration m_selectedDuration;
    // A chip, a digit or a profile chose the duration: it stays until the panel is made again.
    bool m_durationChosen = false;
    QList<AppInfo> m_installedApps;
    double m_profileCycleAngle = 0;

    QVBoxLayout* m_root = nullptr;
    QLabel* m_glyph = nullptr;
    StatusHeaderView* m_status = nullptr;
    DurationPickerView* m_picker = nullptr;
    kestu::KestuButton* m_startButton = nullptr;
    kestu::KestuButton* m_stopButton = nullptr;
    bool m_shownActive = false;
    DisclosureToggle* m_disclosure = nullptr;
    PopoverExpandedContent* m_expanded = nullptr;
    CompactAppSummary* m_summary = nullptr;
    SectionReveal* m_expandedReveal = nullptr;
    SectionReveal* m_summaryReveal = nullptr;
    FooterIconButton* m_profileButton = nullptr;
    FooterIconButton* m_settingsButton = nullptr;
    FooterIconButton* m_quitButton = nullptr;
    bool m_filtering = false;
};

} // namespace tremlor
