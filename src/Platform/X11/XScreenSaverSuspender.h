#pragma once

#include <QByteArray>

namespace tremlor {

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
    bool isSuspended() const { return m_display != nullptr; }

private:
    QByteArray m_displayName;
    void* m_display = nullptr; // Display*, kept out of this header
};

} // namespace tremlor
