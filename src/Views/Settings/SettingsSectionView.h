#pragma once

#include "Models/Enumerations.h"

class QWidget;

namespace tremlor {

struct SettingsContext;

struct SettingsSectionView {
    QWidget* view = nullptr;
    // The field that takes the keyboard when the section appears; none in most sections.
    QWidget* keyboardField = nullptr;
};

// A new view of `section` over `context`, in its initial state (the window builds one on every
// selection, so nothing of an earlier view carries over). Unless `takesKeyboard`, the section's
// keyboard field leaves the keyboard where it is.
SettingsSectionView makeSettingsSectionView(
    SettingsSection section, SettingsContext& context, bool takesKeyboard, QWidget* parent);

} // namespace tremlor
