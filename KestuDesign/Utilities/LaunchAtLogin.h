#pragma once

#include <QString>

#include <stdexcept>

namespace kestu {

// The kit's login-item contract.
class LoginItemManaging {
public:
    virtual ~LoginItemManaging() = default;
    virtual bool isEnabled() const = 0;
    // Throws LaunchAtLoginError when the change cannot be made.
    virtual void setEnabled(bool enabled) = 0;
};

class LaunchAtLoginError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A login item as an XDG autostart entry: $XDG_CONFIG_HOME/autostart/<id>.desktop, written
// atomically to enable and removed to disable. Enabled means the file exists and is not
// marked Hidden=true.
class LaunchAtLogin final : public LoginItemManaging {
public:
    // The running application: its desktop-file name (or application name) and executable.
    LaunchAtLogin();
    LaunchAtLogin(QString autostartFolder, QString desktopId, QString executable, QString name);

    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    QString entryPath() const;

private:
    QString m_folder;
    QString m_desktopId;
    QString m_executable;
    QString m_name;
};

} // namespace kestu
