#pragma once

#include <QWidget>

namespace kestu {
class KestuToggleStyle;
}

namespace tremlor {

struct SettingsContext;
class FormPicker;

// Startup (login item, Dock icon), the menu-bar label's display mode and the start/stop sound.
// The login toggle shows the system's registration, not a stored flag.
class GeneralSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettingsView(SettingsContext& context, QWidget* parent = nullptr);
    ~GeneralSettingsView() override;

    bool launchAtLoginEnabled() const { return m_launchAtLoginEnabled; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void changeLoginItem(bool enabled);
    void refreshLoginItem();

    SettingsContext& m_context;
    bool m_launchAtLoginEnabled = false;
    kestu::KestuToggleStyle* m_loginToggle = nullptr;
};

} // namespace tremlor
