#pragma once

#include <QByteArray>

#include <memory>

namespace tremlor {

namespace x11 {
class X11Connection;
}

// The X server's screensaver (and DPMS) suspension, held by our own display connection:
// the fallback display inhibit where no screensaver service runs. Main thread only.
class XScreenSaverSuspender final {
public:
    // displayName: empty for $DISPLAY.
    explicit XScreenSaverSuspender(QByteArray displayName = {});
    ~XScreenSaverSuspender();
    XScreenSaverSuspender(const XScreenSaverSuspender&) = delete;
    XScreenSaverSuspender& operator=(const XScreenSaverSuspender&) = delete;

    // True when the server suspended its screensaver for us.
    bool suspend();
    void resume();
    bool isSuspended() const { return m_connection != nullptr; }

private:
    QByteArray m_displayName;
    std::unique_ptr<x11::X11Connection> m_connection; // the suspension lasts while it is open
};

} // namespace tremlor
