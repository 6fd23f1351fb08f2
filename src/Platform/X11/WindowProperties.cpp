#include "Platform/X11/WindowProperties.h"

#include <QString>
#include <QSysInfo>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tremlor::x11 {

std::vector<unsigned long> cardinals(Display* d, Window w, Atom property, Atom type, long maxItems)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(d, w, property, 0, maxItems, False, type, &actualType, &format, &count, &after, &data)
            == Success
        && actualType == type && format == 32 && data) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        out.assign(items, items + count);
    }
    if (data)
        XFree(data);
    return out;
}

bool isLocalClient(Display* d, Window w)
{
    XTextProperty machine {};
    if (!XGetWMClientMachine(d, w, &machine) || !machine.value)
        return true;
    const QString name
        = QString::fromLocal8Bit(reinterpret_cast<const char*>(machine.value), static_cast<qsizetype>(machine.nitems));
    XFree(machine.value);
    return name == QSysInfo::machineHostName();
}

} // namespace tremlor::x11
