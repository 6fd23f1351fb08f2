#pragma once

#include "Helpers/AppScanning.h"
#include "Platform/Clock.h"

#include <QStringList>

#include <chrono>
#include <mutex>
#include <optional>

namespace tremlor {

// Scans the XDG application folders for desktop entries of Type=Application, leaves out those
// with NoDisplay or Hidden, keeps the first entry of each desktop-file ID and sorts by name. A
// non-empty result is reused for 30 seconds (monotonic clock). Callable from any thread: one
// lock is held over the whole scan.
class AppListProvider final : public AppScanning {
public:
    // The standard folders (read at every scan) and the system clock.
    AppListProvider();
    // For tests and benchmarks: given folders, in order, and clock.
    explicit AppListProvider(QStringList folders, const Clock& clock = SystemClock::instance());

    QList<AppInfo> scanInstalledApps() override;

    static constexpr std::chrono::seconds cacheLifetime { 30 };

private:
    QList<AppInfo> scan() const;

    std::mutex m_lock;
    QList<AppInfo> m_cachedApps;
    std::optional<std::chrono::steady_clock::time_point> m_lastScanDate; // none: distant past
    std::optional<QStringList> m_folders;
    const Clock& m_clock;
};

} // namespace tremlor
