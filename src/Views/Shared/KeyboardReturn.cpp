#include "Views/Shared/KeyboardReturn.h"

#include <QDialog>

namespace tremlor {

void returnKeyboardWhenClosed(QDialog* dialog, QWidget* control)
{
    QObject::connect(dialog, &QDialog::finished, control, [control] {
        control->setFocus(Qt::OtherFocusReason);
        control->window()->activateWindow();
    });
}

} // namespace tremlor
