#include "Platform/X11/InputExtensions.h"

#include "Platform/X11/X11Connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

namespace tremlor::x11 {

bool hasInputExtensions(const QString& displayName)
{
    X11Connection connection(displayName);
    Display* d = connection.display();
    if (!d)
        return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor))
        return false;
    int opcode = 0;
    if (!XQueryExtension(d, "XInputExtension", &opcode, &eventBase, &errorBase))
        return false;
    int xiMajor = 2, xiMinor = 1;
    if (XIQueryVersion(d, &xiMajor, &xiMinor) != Success)
        return false;
    return !connection.isLost() && (xiMajor > 2 || (xiMajor == 2 && xiMinor >= 1));
}

} // namespace tremlor::x11
