#include "Views/Shared/CurrentRowFocus.h"

#include <QAbstractItemView>
#include <QAccessible>

namespace tremlor {

void tellCurrentRow(QAbstractItemView* view)
{
    // Queued: Qt tells of the list's own focus after the list has handled it.
    QMetaObject::invokeMethod(
        view,
        [view] {
            if (!view->hasFocus() || !view->currentIndex().isValid())
                return;
            QAccessibleEvent focus(view, QAccessible::Focus);
            focus.setChild(view->currentIndex().row());
            QAccessible::updateAccessibility(&focus);
        },
        Qt::QueuedConnection);
}

} // namespace tremlor
