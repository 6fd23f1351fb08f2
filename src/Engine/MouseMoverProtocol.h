#pragma once

#include "Models/Enumerations.h"

#include <functional>

namespace tremlor {

// The mover as the engine drives it: started and stopped on the main thread, reporting each
// movement through onJiggle from its own queue.
class MouseMoverProtocol {
public:
    MouseMoverProtocol() = default;
    virtual ~MouseMoverProtocol() = default;
    MouseMoverProtocol(const MouseMoverProtocol&) = delete;
    MouseMoverProtocol& operator=(const MouseMoverProtocol&) = delete;

    // Restarts with these settings; the first movement comes after a drawn delay.
    virtual void start(
        double maxInterval, double distance, MovementPattern pattern, bool keyboardEnabled, bool clicksEnabled)
        = 0;
    // A movement under way posts nothing more and ends with one onJiggle.
    virtual void stop() = 0;
    virtual bool isStopped() const = 0;
    // Called off the main thread after every movement.
    virtual void setOnJiggle(std::function<void()> callback) = 0;
};

} // namespace tremlor
