#include "Helpers/AccessibilityHelper.h"

#include "Platform/X11/InputExtensions.h"

#include <QDesktopServices>
#include <QUrl>

namespace tremlor {

AccessibilityHelper::AccessibilityHelper(QByteArray displayName)
    : m_displayName(std::move(displayName))
{
}

bool AccessibilityHelper::isTrusted() const
{
    return x11::hasInputExtensions(QString::fromLocal8Bit(m_displayName));
}

bool AccessibilityHelper::requestAccess(bool /*prompt*/)
{
    return isTrusted();
}

QString AccessibilityHelper::settingsUrl()
{
    return QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
}

void AccessibilityHelper::openAccessibilitySettings()
{
    const QUrl url(settingsUrl(), QUrl::StrictMode);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace tremlor
