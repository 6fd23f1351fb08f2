#pragma once

#include <QPointF>

namespace tremlor {

// The input event types whose idle time the monitor asks for.
enum class InputEventType { leftMouseDown, rightMouseDown, keyDown, scrollWheel, leftMouseDragged, mouseMoved };

// Where the idle monitor reads the cursor and the seconds since the last input events.
class InputIdleSource {
public:
    InputIdleSource() = default;
    virtual ~InputIdleSource() = default;
    InputIdleSource(const InputIdleSource&) = delete;
    InputIdleSource& operator=(const InputIdleSource&) = delete;

    // The cursor location; (0, 0) when unavailable.
    virtual QPointF cursorLocation() = 0;
    // Seconds since the last event of the type from any device; very large when never seen.
    virtual double secondsSinceLastEvent(InputEventType type) = 0;
};

} // namespace tremlor
