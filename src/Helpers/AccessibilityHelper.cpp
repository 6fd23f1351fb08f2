#include "Helpers/AccessibilityHelper.h"

#include <QDesktopServices>
#include <QUrl>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

namespace tremlor {

namespace {

bool offersInputExtensions(const QByteArray& displayName)
{
    Display* display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display)
        return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0, opcode = 0;
    bool trusted = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
    if (trusted)
        trusted = XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase);
    if (trusted) {
        // The server answers with the highest version both sides know, never above ours.
        int xiMajor = 2, xiMinor = 1;
        trusted
            = XIQueryVersion(display, &xiMajor, &xiMinor) == Success && (xiMajor > 2 || (xiMajor == 2 && xiMinor >= 1));
    }
    XCloseDisplay(display);
    return trusted;
}

} // namespace

AccessibilityHelper::AccessibilityHelper(QByteArray displayName)
    : m_displayName(std::move(displayName))
{
}

bool AccessibilityHelper::isTrusted() const
{
    return offersInputExtensions(m_displayName);
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
