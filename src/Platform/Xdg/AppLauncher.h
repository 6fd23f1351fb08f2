#pragma once

#include "Platform/Xdg/DesktopEntry.h"

#include <QString>

namespace tremlor::xdg {

// Starts desktop entries detached, without a shell, and remembers what it started so that an
// application whose window cannot be matched still counts as running while its process lives.
class AppLauncher final {
public:
    // Starts the entry's Exec command; false when it cannot be split or started.
    static bool launch(const DesktopEntry& entry);
    // A process started for this desktop-file ID (by any launcher in this process) still runs.
    static bool hasLiveProcess(const QString& id);
};

} // namespace tremlor::xdg
