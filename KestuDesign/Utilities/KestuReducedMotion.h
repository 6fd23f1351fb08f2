#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

class QDBusConnection;

namespace kestu {

// Whether the desktop asks for reduced motion. Read once per process from, in order: the
// settings portal's org.freedesktop.appearance "reduced-motion", the X settings manager's
// "Gtk/EnableAnimations", then GNOME's org.gnome.desktop.interface "enable-animations"; when
// none answers, motion is allowed.
// Every kit animation asks this; tests override it.
bool prefersReducedMotion();
// Forces the answer (std::nullopt goes back to the desktop's preference).
void setReducedMotionOverride(std::optional<bool> reduced);

namespace ReducedMotion {
// The portal's answer on `bus`, or nothing when no portal (or no such setting) answers in
// time.
std::optional<bool> fromPortal(const QDBusConnection& bus, int timeoutMs = 250);
// The X settings manager's answer ("Gtk/EnableAnimations" 0 asks for reduced motion) on an
// xcb_connection_t for `screen`, or nothing when no manager runs or it has no such setting.
std::optional<bool> fromXSettings(void* xcbConnection, int screen);
// The integer settings of an _XSETTINGS_SETTINGS property; malformed data gives what was read
// before the fault.
QHash<QString, int> parseXSettingsIntegers(const QByteArray& data);
// GNOME's answer through the gsettings tool, or nothing when the tool or schema is missing.
std::optional<bool> fromGSettings(const QString& program = QStringLiteral("gsettings"), int timeoutMs = 500);
} // namespace ReducedMotion

} // namespace kestu
