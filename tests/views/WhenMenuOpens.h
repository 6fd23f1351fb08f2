#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace viewtest {

// Runs `act` on the menu once it has opened (in its own event loop), then makes sure it closed.
// The poll belongs to `owner`; at the deadline it fails the test and closes whatever popup is
// open, so the test goes on.
inline void whenMenuOpens(QWidget* owner, std::function<void(QMenu*)> act, int deadlineMs = 5000)
{
    auto* poll = new QTimer(owner);
    QObject::connect(
        poll, &QTimer::timeout, poll, [poll, act = std::move(act), deadlineMs, deadline = QDeadlineTimer(deadlineMs)] {
            QWidget* popup = QApplication::activePopupWidget();
            auto* menu = qobject_cast<QMenu*>(popup);
            if (!menu && !deadline.hasExpired())
                return;
            poll->stop();
            poll->deleteLater();
            if (!menu) {
                ADD_FAILURE() << "no menu opened within " << deadlineMs << " ms";
                if (popup)
                    popup->close();
                return;
            }
            act(menu);
            EXPECT_FALSE(menu->isVisible()) << "the choice did not close the menu";
            menu->hide();
        });
    poll->start(0);
}

} // namespace viewtest
