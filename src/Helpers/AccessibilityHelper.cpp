#include "Helpers/AccessibilityHelper.h"

#include "Platform/X11/InputExtensions.h"
#include "Platform/Xdg/AppLauncher.h"
#include "Platform/Xdg/DesktopEntryLookup.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace tremlor {

namespace {

// The accessibility settings that desktops ship as desktop entries, with the desktops (as
// $XDG_CURRENT_DESKTOP names them) they belong to.
struct SettingsEntry {
    const char* id;
    QStringList desktops;
};

const std::vector<SettingsEntry>& settingsEntries()
{
    static const std::vector<SettingsEntry> entries {
        // gnome-control-center's Universal Access panel
        { "gnome-universal-access-panel", { QStringLiteral("GNOME"), QStringLiteral("Unity") } },
        // Plasma's systemsettings module
        { "kcm_access", { QStringLiteral("KDE") } },
        // xfce4-settings
        { "xfce4-accessibility-settings", { QStringLiteral("XFCE") } },
    };
    return entries;
}

} // namespace

AccessibilityHelper::AccessibilityHelper(QByteArray displayName)
    : m_displayName(std::move(displayName))
{
}

bool AccessibilityHelper::isTrusted() const
{
    return x11::hasInputExtensions(QString::fromLocal8Bit(m_displayName));
}

bool AccessibilityHelper::requestAccess(bool /*prompt*/)
{
    return isTrusted();
}

void AccessibilityHelper::openAccessibilitySettings()
{
    const QStringList current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    const auto ownDesktop = [&](const SettingsEntry& entry) {
        return std::any_of(current.begin(), current.end(),
            [&](const QString& desktop) { return entry.desktops.contains(desktop, Qt::CaseInsensitive); });
    };
    // The running desktop's own settings first, then whichever known one is installed.
    std::vector<SettingsEntry> candidates = settingsEntries();
    std::stable_partition(candidates.begin(), candidates.end(), ownDesktop);
    const xdg::DesktopEntryLookup lookup;
    for (const SettingsEntry& candidate : candidates) {
        const auto entry = lookup.entry(QLatin1String(candidate.id));
        if (entry && !entry->hidden && xdg::AppLauncher::launch(*entry))
            return;
    }
}

} // namespace tremlor
