#pragma once

#include "Helpers/AccessibilityChecking.h"

#include <QByteArray>
#include <QString>

namespace tremlor {

// Trusted = the X display offers XTest and XInput 2.1 or later, so input can be posted and
// the user's own input told apart. X11 has no trust prompt: a request answers the state.
class AccessibilityHelper final : public AccessibilityChecking {
public:
    // displayName: the X display to ask (empty: $DISPLAY).
    explicit AccessibilityHelper(QByteArray displayName = {});

    bool isTrusted() const override;
    bool requestAccess(bool prompt) override;

    // Starts the desktop's own accessibility settings (GNOME's, KDE's or Xfce's desktop
    // entry, found in the XDG application folders); nothing when none is installed.
    static void openAccessibilitySettings();

private:
    QByteArray m_displayName;
};

} // namespace tremlor
