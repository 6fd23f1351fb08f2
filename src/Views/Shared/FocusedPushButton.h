#pragma once

#include <QAbstractButton>

namespace tremlor {

// The push button in `within` that has the keyboard, or null; check boxes, switches and radio
// buttons are not push buttons. On this desktop Return presses it, as Space does.
inline QAbstractButton* focusedPushButton(const QWidget* within)
{
    auto* button = qobject_cast<QAbstractButton*>(within->focusWidget());
    return button && button->hasFocus() && !button->isCheckable() ? button : nullptr;
}

} // namespace tremlor
