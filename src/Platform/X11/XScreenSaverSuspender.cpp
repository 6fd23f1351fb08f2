#include "Platform/X11/XScreenSaverSuspender.h"

#include "Platform/X11/X11Connection.h"

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
    if (m_connection)
        return true;
    auto connection = std::make_unique<x11::X11Connection>(QString::fromLocal8Bit(m_displayName));
    Display* display = connection->display();
    if (!display)
        return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    // Suspension needs version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)
        || !XScreenSaverQueryVersion(display, &major, &minor) || (major < 1 || (major == 1 && minor < 1)))
        return false;
    XScreenSaverSuspend(display, True);
    XSync(display, False);
    if (connection->isLost())
        return false;
    m_connection = std::move(connection);
    return true;
}

void XScreenSaverSuspender::resume()
{
    if (!m_connection)
        return;
    // A lost server has no suspension left to end.
    if (Display* display = m_connection->display()) {
        XScreenSaverSuspend(display, False);
        XSync(display, False);
    }
    m_connection.reset();
}

} // namespace tremlor
