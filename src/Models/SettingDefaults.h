#pragma once

#include "Models/Enumerations.h"

#include <cstdint>

// The settings store's default values, shared by the store, the settings file record, a new
// profile and the engine (which reads an unusable stored number as its default).
namespace tremlor::defaults {

inline constexpr double maxInterval = 30.0;
inline constexpr double jiggleDistance = 3.0;
inline constexpr MovementPattern movementPattern = MovementPattern::bounce;
inline constexpr RotationMode rotationMode = RotationMode::sequential;
inline constexpr std::int64_t appSwitchInterval = 1;
inline constexpr bool launchIfNotRunning = true;
inline constexpr bool launchAtLogin = false;
inline constexpr bool showInDock = false;
inline constexpr MenuBarDisplayMode menuBarDisplayMode = MenuBarDisplayMode::iconOnly;
inline constexpr bool playSoundOnToggle = false;
inline constexpr bool caffeineEnabled = false;
inline constexpr bool simulateKeyboard = true;
inline constexpr bool simulateClicks = false;
inline constexpr bool smartIdleEnabled = false;
inline constexpr double idleThreshold = 30.0;
inline constexpr bool showCountdownInMenuBar = false;
inline constexpr bool notifyOnExpiry = true;
inline constexpr char defaultDurationId[] = "1h";
inline constexpr bool hasCompletedOnboarding = false;
inline constexpr bool popoverExpanded = true;

// The ranges of the interval and distance sliders. A session moves within them even when an
// imported number lies beyond (it stays stored as it came).
inline constexpr double shortestInterval = 1.0;
inline constexpr double longestInterval = 300.0;
inline constexpr double shortestDistance = 1.0;
inline constexpr double longestDistance = 50.0;

} // namespace tremlor::defaults
