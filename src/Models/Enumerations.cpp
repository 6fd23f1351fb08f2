#include "Models/Enumerations.h"

namespace tremlor {

QString title(SettingsSection section)
{
    switch (section) {
    case SettingsSection::general:
        return QStringLiteral("General");
    case SettingsSection::mouse:
        return QStringLiteral("Mouse");
    case SettingsSection::apps:
        return QStringLiteral("Apps");
    case SettingsSection::timer:
        return QStringLiteral("Timer");
    case SettingsSection::profiles:
        return QStringLiteral("Profiles");
    case SettingsSection::schedule:
        return QStringLiteral("Schedule");
    case SettingsSection::advanced:
        return QStringLiteral("Advanced");
    case SettingsSection::about:
        return QStringLiteral("About");
    }
    return {};
}

QString icon(SettingsSection section)
{
    switch (section) {
    case SettingsSection::general:
        return QStringLiteral("gearshape");
    case SettingsSection::mouse:
        return QStringLiteral("computermouse");
    case SettingsSection::apps:
        return QStringLiteral("square.grid.2x2");
    case SettingsSection::timer:
        return QStringLiteral("timer");
    case SettingsSection::profiles:
        return QStringLiteral("person.2");
    case SettingsSection::schedule:
        return QStringLiteral("calendar.badge.clock");
    case SettingsSection::advanced:
        return QStringLiteral("wrench.and.screwdriver");
    case SettingsSection::about:
        return QStringLiteral("info.circle");
    }
    return {};
}

QStringList searchableKeywords(SettingsSection section)
{
    switch (section) {
    case SettingsSection::general:
        return { "start login", "dock", "launch", "menu bar", "display mode", "sound", "startup" };
    case SettingsSection::mouse:
        return { "mouse", "movement", "jiggle", "pattern", "speed", "distance" };
    case SettingsSection::apps:
        return { "apps", "application", "rotation", "select", "switch" };
    case SettingsSection::timer:
        return { "timer", "duration", "interval", "countdown", "schedule" };
    case SettingsSection::profiles:
        return { "profiles", "preset", "save", "configuration" };
    case SettingsSection::schedule:
        return { "schedule", "auto start", "auto stop", "time", "weekday" };
    case SettingsSection::advanced:
        return { "accessibility", "permission", "data", "reset", "export", "import" };
    case SettingsSection::about:
        return { "about", "version", "vidazevur", "feedback", "support" };
    }
    return {};
}

} // namespace tremlor
