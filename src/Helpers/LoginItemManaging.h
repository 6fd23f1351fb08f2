#pragma once

#include <stdexcept>

namespace tremlor {

// The error a failed login-item change throws.
class LoginItemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starting the program at login. Main thread only.
class LoginItemManaging {
public:
    virtual ~LoginItemManaging() = default;
    virtual bool isEnabled() const = 0;
    // Registers (true) or unregisters (false); throws LoginItemError on failure, leaving the
    // state unchanged.
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace tremlor
