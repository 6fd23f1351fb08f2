#include "Views/Shared/FocusScrollArea.h"

#include <QApplication>

namespace tremlor {

FocusScrollArea::FocusScrollArea(QWidget* parent)
    : QScrollArea(parent)
{
    setFocusPolicy(Qt::NoFocus);
    m_followFocus = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now))
            ensureWidgetVisible(now, 0, 0);
    });
}

FocusScrollArea::~FocusScrollArea()
{
    // Deleting the controls inside moves the focus; by then this area is half gone.
    disconnect(m_followFocus);
}

} // namespace tremlor
