#pragma once

namespace tremlor {

// Whether the program may post input and activate windows. Main thread only.
class AccessibilityChecking {
public:
    virtual ~AccessibilityChecking() = default;
    // Never prompts.
    virtual bool isTrusted() const = 0;
    // Asks for the permission when prompt is true and the platform has a prompt; answers
    // whether the program is trusted now.
    virtual bool requestAccess(bool prompt) = 0;
};

} // namespace tremlor
