#pragma once

#include <QPointF>
#include <QRectF>
#include <QtGlobal>

namespace tremlor {

// The event poster the mouse mover drives. Coordinates are global display coordinates in
// points, y growing downwards. Implementations are used from the mover's queue only. Nothing is
// posted into the program's own windows: no click or wheel step while the pointer is over one,
// no navigation key while one has the keyboard; the cursor still moves.
class MouseMoving {
public:
    MouseMoving() = default;
    virtual ~MouseMoving() = default;
    MouseMoving(const MouseMoving&) = delete;
    MouseMoving& operator=(const MouseMoving&) = delete;

    // Posts a left click at the point; blocks for the hold time; stamps the synthetic record.
    virtual void click(QPointF at) = 0;
    // Posts one key press of a virtual key code; blocks for the hold time; stamps the record.
    virtual void pressKey(quint16 keyCode) = 0;
    // Warps the cursor to the point and posts a mouse-moved event there.
    virtual void moveCursor(QPointF to) = 0;
    // Posts a single key transition (down or up) of a virtual key code; does not stamp.
    virtual void postKey(quint16 keyCode, bool down) = 0;
    // Posts a scroll of whole pixels (positive vertical: up, positive horizontal: left);
    // pixels accumulate into wheel steps. Nothing while the pointer is not over another
    // application's window.
    virtual void scroll(int verticalPixels, int horizontalPixels) = 0;
    // The cursor location; (0, 0) when unavailable.
    virtual QPointF cursorLocation() = 0;
    // Bounds of the display containing the point, else of the main display; empty when none.
    virtual QRectF displayBounds(QPointF point) = 0;
    // Bounds of the whole screen (the root window); empty when there is no display.
    virtual QRectF screenBounds() = 0;
    // Releases every key and button this poster holds down.
    virtual void releaseAll() = 0;
};

} // namespace tremlor
