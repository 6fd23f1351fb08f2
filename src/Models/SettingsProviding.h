#pragma once

namespace tremlor {

// The ability to provide the user's settings: the observable store that services and views
// are handed. It adds no requirements of its own.
class SettingsProviding {
public:
    virtual ~SettingsProviding() = default;
};

} // namespace tremlor
