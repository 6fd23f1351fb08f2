#include "Views/Shared/CurrentRowFocus.h"

#include <QAccessible>
#include <QWidget>

namespace tremlor {

void tellCurrentRow(QWidget* list)
{
    // Queued: Qt tells of the list's own focus after the list has handled it.
    QMetaObject::invokeMethod(
        list,
        [list] {
            QAccessibleInterface* told = list->hasFocus() ? QAccessible::queryAccessibleInterface(list) : nullptr;
            QAccessibleInterface* row = told ? told->focusChild() : nullptr;
            if (!row || row == told)
                return;
            QAccessibleEvent focus(row, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        },
        Qt::QueuedConnection);
}

} // namespace tremlor
