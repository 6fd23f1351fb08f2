#pragma once

#include "Helpers/AccessibilityChecking.h"
#include "Helpers/AppScanning.h"
#include "Helpers/LoginItemManaging.h"
#include "Models/TremlorSettings.h"
#include "Platform/Clock.h"

#include <functional>
#include <memory>

namespace tremlor {

// What the settings sections work on, handed down from the application (tests give fakes).
// A section never creates a backend itself.
struct SettingsContext {
    TremlorSettings& settings;
    // A fresh scanner for each Apps section view (its cache is never shared).
    std::function<std::unique_ptr<AppScanning>()> makeAppScanner;
    AccessibilityChecking& accessibility;
    LoginItemManaging& loginItem;
    const Clock& clock;
};

} // namespace tremlor
