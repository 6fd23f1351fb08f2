#pragma once

#include "Platform/MouseMoving.h"

#include <QString>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

namespace tremlor {

class Clock;
class RandomSource;

namespace x11 {
class X11Connection;
}

// Posts the mover's events through XTest on a display connection of its own. Without a
// display or without XTest it posts nothing and reports the cursor at (0, 0).
class SystemMouseMover final : public MouseMoving {
public:
    // One wheel step of X11 (a button 4-7 click) stands for this many pixels of scrolling.
    static constexpr int pixelsPerWheelStep = 10;

    // The display named by DISPLAY.
    SystemMouseMover();
    explicit SystemMouseMover(const QString& displayName, std::shared_ptr<RandomSource> random = nullptr,
        std::shared_ptr<const Clock> clock = nullptr);
    ~SystemMouseMover() override;

    // The connection is open and the server offers XTest.
    bool canPost() const;

    void click(QPointF at) override;
    void pressKey(quint16 keyCode) override;
    void moveCursor(QPointF to) override;
    void postKey(quint16 keyCode, bool down) override;
    void scroll(int verticalPixels, int horizontalPixels) override;
    QPointF cursorLocation() override;
    QRectF displayBounds(QPointF point) override;
    QRectF screenBounds() override;
    void releaseAll() override;

    // The X keysym standing for a reference-platform virtual key code; nullopt for others.
    static std::optional<unsigned long> keysymFor(quint16 keyCode);

private:
    void sleepMicros(int low, int high);
    void fakeButton(unsigned int button, bool down);
    void fakeMotion(QPointF to);
    void flush();

    std::shared_ptr<RandomSource> m_random;
    std::shared_ptr<const Clock> m_clock;

    // Guards everything below; Xlib calls on this connection happen only under it.
    mutable std::mutex m_lock;
    std::unique_ptr<x11::X11Connection> m_connection;
    bool m_hasXTest = false;
    std::set<unsigned int> m_heldKeycodes;
    std::set<unsigned int> m_heldButtons;
    double m_verticalPixels = 0.0;
    double m_horizontalPixels = 0.0;
};

} // namespace tremlor
