#pragma once

#include "Views/Settings/TremlorSettingsDocument.h"

#include <QWidget>

#include <chrono>
#include <optional>

class QTimer;

namespace tremlor {

struct SettingsContext;
class AccessibilityChecking;
class BarButton;
class TremlorSettings;
class TokenLabel;

// The Advanced section: the Accessibility permission (checked at once when the section comes
// on screen and then every two seconds while it stays there), a way to the system's settings,
// and the Data group: reset (behind an alert), export and import of the settings file.
class AdvancedSettingsView final : public QWidget {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultPollInterval { 2000 };

    explicit AdvancedSettingsView(SettingsContext& context,
        std::chrono::milliseconds pollInterval = defaultPollInterval, QWidget* parent = nullptr);

    bool isAccessibilityGranted() const { return m_granted; }
    QTimer* pollTimer() const { return m_poll; }
    // The document handed to the save dialog while it is open.
    const std::optional<TremlorSettingsDocument>& exportDocument() const { return m_exportDocument; }

    // The buttons' actions: each opens its dialog or alert and returns at once.
    void confirmReset();
    void exportSettings();
    void importSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void checkAccessibility();

    TremlorSettings& m_settings;
    AccessibilityChecking& m_accessibility;
    QTimer* m_poll;
    bool m_granted = false;
    QWidget* m_status;
    // The Data group's buttons, which take the keyboard back when their dialogs close.
    BarButton* m_reset = nullptr;
    BarButton* m_export = nullptr;
    BarButton* m_import = nullptr;
    std::optional<TremlorSettingsDocument> m_exportDocument;
};

} // namespace tremlor
