#pragma once

#include "Models/AppInfo.h"

#include <QList>

namespace tremlor {

// The installed user-facing applications.
class AppScanning {
public:
    AppScanning() = default;
    virtual ~AppScanning() = default;
    AppScanning(const AppScanning&) = delete;
    AppScanning& operator=(const AppScanning&) = delete;

    // At most one record per bundle identifier, sorted by name (localised, case-insensitive).
    // The list is implicitly shared: handing out a cached one copies nothing.
    virtual QList<AppInfo> scanInstalledApps() = 0;
};

} // namespace tremlor
