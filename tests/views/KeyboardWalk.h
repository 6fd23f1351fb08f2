#pragma once

#include "kit/KitTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

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

// Runs `act` on the menu once it has opened (in its own event loop) and checks that it closed.
// The poll belongs to `owner`; with no menu after 5 s it fails and closes any popup, so the test goes on.
inline void whenMenuOpens(QWidget* owner, std::function<void(QMenu*)> act)
{
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act), deadline = QDeadlineTimer(5000)] {
        QWidget* popup = QApplication::activePopupWidget();
        auto* menu = qobject_cast<QMenu*>(popup);
        if (!menu && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (menu)
            act(menu);
        EXPECT_TRUE(menu && !menu->isVisible()) << "no menu, or the choice did not close it";
        if (popup)
            popup->hide();
    });
    poll->start(0);
}

// What a screen reader reads as the labels of `widget`.
inline QStringList labelsOf(QWidget* widget)
{
    QStringList names;
    for (const auto& [label, relation] : QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label))
        names << label->text(QAccessible::Name);
    return names;
}

} // namespace viewtest
