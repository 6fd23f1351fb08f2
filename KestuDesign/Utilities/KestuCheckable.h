#pragma once

#include <functional>

class QAbstractButton;

namespace kestu {

// A checkable control whose state belongs to its owner (a stored setting, a selection). Users
// change it three ways: a click, the keyboard (Space), and an assistive tool's "Toggle" action,
// which calls toggle() and so emits toggled but never clicked. Acting on toggled covers all
// three.

// Shows `checked` without reporting it as a user's change.
void showChecked(QAbstractButton* button, bool checked);

// Hands every change of `button`'s checked state to `apply`, then shows `stored()`, so a change
// the owner refuses (or adjusts) springs back and the control always shows what is kept.
void actOnCheckedChange(QAbstractButton* button, std::function<void(bool)> apply, std::function<bool()> stored);

} // namespace kestu
