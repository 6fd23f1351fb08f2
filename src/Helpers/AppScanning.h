#pragma once

#include "Models/AppInfo.h"

#include <vector>

namespace tremlor {

// The installed user-facing applications.
class AppScanning
{
public:
    AppScanning() = default;
    virtual ~AppScanning() = default;
    AppScanning(const AppScanning&) = delete;
    AppScanning& operator=(const AppScanning&) = delete;

    // At most one record per bundle identifier, sorted by name (localised, case-insensitive).
    virtual std::vector<AppInfo> scanInstalledApps() = 0;
};

} // namespace tremlor
