#pragma once

#include "Models/Enumerations.h"

class QWidget;

namespace tremlor {

struct SettingsContext;

// A section's new view and the field in it that takes the keyboard when the section appears
// (none in most sections).
struct BuiltSection {
    QWidget* view = nullptr;
    QWidget* keyboardField = nullptr;
};

// A new view of `section` over `context`, in its initial state (the window builds one on every
// selection, so nothing of an earlier view carries over). Unless `takesKeyboard`, the section's
// keyboard field leaves the keyboard where it is.
BuiltSection buildSection(SettingsSection section, SettingsContext& context, bool takesKeyboard, QWidget* parent);

} // namespace tremlor
