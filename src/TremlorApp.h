#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>

class QWidget;

namespace tremlor {

class AppWindows;
class CompositionRoot;
struct SettingsContext;
class PanelPopup;
class TremlorEngine;
class TremlorSettings;
class TremlorTray;

// The application: builds the core once, keeps the tray item, the panel popup and the two
// windows, and follows the Dock setting. One per process.
class TremlorApp final : public QObject {
    Q_OBJECT

public:
    // Start-up in its fixed order on the main thread, after the QApplication exists.
    explicit TremlorApp(QObject* parent = nullptr);
    // For tests: a given root, and no tray item.
    TremlorApp(std::unique_ptr<CompositionRoot> root, bool withTray, QObject* parent = nullptr);
    ~TremlorApp() override;
    Q_DISABLE_COPY_MOVE(TremlorApp)

    static TremlorApp* instance();
    // The settings window: brought forward when it is shown, else a new one.
    static void openSettingsWindow();

    TremlorEngine& engine() const;
    TremlorSettings& settings() const;
    AppWindows& windows() const { return *m_windows; }
    TremlorTray* tray() const { return m_tray; }
    PanelPopup* panel() const { return m_panel; }

    // Hides the panel, handing the keyboard back, and every other floating window but the
    // settings window.
    void hidePanel();
    // Opens the panel at a screen point, or hides it when it is open.
    void togglePanel(QPoint at);
    // Stops a running session (so held keys and inhibits are given back), then leaves the
    // event loop.
    void quit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startUp(bool withTray);
    void applyActivationPolicy();
    void stopSession();
    QWidget* makePanel(QWidget* parent);
    QWidget* makeSettingsContent();
    QWidget* makeOnboardingContent();

    std::unique_ptr<CompositionRoot> m_root;
    std::unique_ptr<SettingsContext> m_settingsContext;
    AppWindows* m_windows = nullptr;
    TremlorTray* m_tray = nullptr;
    PanelPopup* m_panel = nullptr;
};

} // namespace tremlor
