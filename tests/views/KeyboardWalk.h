#pragma once

#include "kit/KitTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace viewtest {

// What a test knows a control by: its automation identifier, else its spoken name.
inline QString stopName(QWidget* widget)
{
    return widget->objectName().isEmpty() ? widget->accessibleName() : widget->objectName();
}

// Presses Tab (as a keyboard user does, from the focused control or else the window) until the
// keyboard leaves `within` or comes round to a control it reached before, and lists the controls
// reached. Each must have a spoken name and draw itself differently while it has the focus (a
// text field's caret blinks, so fields are not compared; nor are the stops `drawnElsewhere`).
inline QStringList tabStops(QWidget* within, const QStringList& drawnElsewhere = {}, int most = 40)
{
    QStringList names;
    QList<QWidget*> reached;
    for (int i = 0; i < most; ++i) {
        QWidget* from = QApplication::focusWidget();
        QTest::keyClick(from ? from : within->window(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || reached.contains(now) || !(now == within || within->isAncestorOf(now)))
            break;
        reached << now;
        names << stopName(now);
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(now)->text(QAccessible::Name).isEmpty())
            << names.last().toStdString();
        if (qobject_cast<QLineEdit*>(now) || drawnElsewhere.contains(names.last()))
            continue;
        const QImage focused = kittest::render(now);
        now->clearFocus();
        EXPECT_TRUE(kittest::render(now) != focused) << "no focus shown on " << names.last().toStdString();
        now->setFocus(Qt::TabFocusReason);
    }
    return names;
}

} // namespace viewtest
