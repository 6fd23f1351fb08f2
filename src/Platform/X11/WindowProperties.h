#pragma once

#include <vector>

struct _XDisplay;

// Reading other clients' window properties, for the X11 backends. Window, atom and type are
// Xlib's ids, kept as plain numbers here so Xlib's macros stay out of this header.
namespace tremlor::x11 {

// A property of 32-bit items (Xlib hands them as longs); empty when missing or of another type.
std::vector<unsigned long> cardinals(
    _XDisplay* d, unsigned long window, unsigned long property, unsigned long type, long maxItems);
// Whether the window's client runs on this machine (WM_CLIENT_MACHINE, when set): only then does
// its _NET_WM_PID name a process here.
bool isLocalClient(_XDisplay* d, unsigned long window);

} // namespace tremlor::x11
