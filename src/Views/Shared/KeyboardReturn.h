#pragma once

class QDialog;
class QWidget;

namespace tremlor {

// When `dialog` closes, the window of `control` (the button that opened it) takes the keyboard
// back, with the focus on `control`. A window left out of the taskbar gets no focus back from
// some window managers (openbox) when a dialog over it closes: the user would have to switch
// windows by hand.
void returnKeyboardWhenClosed(QDialog* dialog, QWidget* control);

} // namespace tremlor
