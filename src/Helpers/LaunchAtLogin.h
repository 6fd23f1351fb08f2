#pragma once

#include "Helpers/LoginItemManaging.h"

#include <QString>

namespace tremlor {

// XDG autostart: $XDG_CONFIG_HOME/autostart/com.tremlor.app.desktop. Enabled = the file exists
// and is not marked Hidden=true.
class LaunchAtLogin final : public LoginItemManaging {
public:
    // configHome: the XDG config folder (empty: $XDG_CONFIG_HOME, else ~/.config);
    // executable: the program to start (empty: this process's executable).
    explicit LaunchAtLogin(QString configHome = {}, QString executable = {});

    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

    QString entryPath() const;
    // The entry's text for an executable (its Exec quoted by the Desktop Entry rules).
    static QByteArray entryText(const QString& executable);

private:
    QString m_configHome;
    QString m_executable;
};

} // namespace tremlor
