#pragma once

#include <QString>

#include <optional>

class QDBusConnection;

namespace kestu {

// Whether the desktop asks for reduced motion. Read once per process from, in order: the
// settings portal's org.freedesktop.appearance "reduced-motion", then GNOME's
// org.gnome.desktop.interface "enable-animations"; when neither answers, motion is allowed.
// Every kit animation asks this; tests override it.
bool prefersReducedMotion();
// Forces the answer (std::nullopt goes back to the desktop's preference).
void setReducedMotionOverride(std::optional<bool> reduced);

namespace ReducedMotion {
// The portal's answer on `bus`, or nothing when no portal (or no such setting) answers in
// time.
std::optional<bool> fromPortal(const QDBusConnection& bus, int timeoutMs = 250);
// GNOME's answer through the gsettings tool, or nothing when the tool or schema is missing.
std::optional<bool> fromGSettings(const QString& program = QStringLiteral("gsettings"), int timeoutMs = 500);
} // namespace ReducedMotion

} // namespace kestu
