#include "Views/Shared/KeyboardReturn.h"

#include <QApplication>
#include <QDialog>

namespace tremlor {

void returnKeyboardWhenClosed(QDialog* dialog, QWidget* control)
{
    QObject::connect(dialog, &QDialog::finished, control, [control] {
        // A screen reader's bridge delivers a key late, straight to the focused field: Return can
        // close a dialog under the field's completion list. Qt activates no window while a popup
        // is open, so the window would get the keyboard back from the window manager unnoticed,
        // with no control focused.
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->hide();
        control->setFocus(Qt::OtherFocusReason);
        control->window()->activateWindow();
    });
}

} // namespace tremlor
