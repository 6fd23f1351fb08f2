#include "Platform/X11/XScreenSaverSuspender.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace tremlor {

XScreenSaverSuspender::XScreenSaverSuspender(QByteArray displayName)
    : m_displayName(std::move(displayName))
{
}

XScreenSaverSuspender::~XScreenSaverSuspender()
{
    resume();
}

bool XScreenSaverSuspender::suspend()
{
    if (m_display)
        return true;
    Display* display = XOpenDisplay(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
    if (!display)
        return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    // Suspension needs version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)
        || !XScreenSaverQueryVersion(display, &major, &minor) || (major < 1 || (major == 1 && minor < 1))) {
        XCloseDisplay(display);
        return false;
    }
    XScreenSaverSuspend(display, True);
    XSync(display, False);
    m_display = display;
    return true;
}

void XScreenSaverSuspender::resume()
{
    if (!m_display)
        return;
    auto* display = static_cast<Display*>(m_display);
    XScreenSaverSuspend(display, False);
    XSync(display, False);
    // Closing the connection would end the suspension too; resume first to say it plainly.
    XCloseDisplay(display);
    m_display = nullptr;
}

} // namespace tremlor
