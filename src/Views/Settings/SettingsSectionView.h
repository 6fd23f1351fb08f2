#pragma once

#include "Models/Enumerations.h"

class QWidget;

namespace tremlor {

struct SettingsContext;

// A new view of `section` over `context`, in its initial state (the window builds one on every
// selection, so nothing of an earlier view carries over).
QWidget* makeSettingsSectionView(SettingsSection section, SettingsContext& context, QWidget* parent);

} // namespace tremlor
