#include "DBusMockProbe.h"
#include "Platform/DBus/BusLink.h"
#include "Platform/DBus/DBusNotificationCenter.h"
#include "support/TestDesktop.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tremlor;
using probe::waitUntil;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// The permission's answer, which comes later, never inside the call; nullopt if none came.
std::optional<bool> answer(DBusNotificationCenter& center)
{
    std::optional<bool> granted;
    center.requestAuthorization([&](bool answered) { granted = answered; });
    EXPECT_FALSE(granted.has_value());
    waitUntil([&] { return granted.has_value(); });
    return granted;
}

} // namespace

// Without a daemon, or without a bus, the permission is denied (later, never inside the call)
// and delivering does nothing; a daemon gets the expiry notification once, with its texts and sound.
TEST(Notifications, ExpiryNotificationReachesTheDaemonOnceAndNoDaemonDeniesQuietly)
{
    TestDesktop desktop;
    REQUIRE_DESKTOP(desktop);
    for (const QString& address : { desktop.sessionBusAddress(), QString("unix:path=/nonexistent/bus") }) {
        SCOPED_TRACE(address.toStdString());
        DBusNotificationCenter center(BusLink::toAddress(address));
        EXPECT_EQ(answer(center), false);
        center.deliver("Tremlor", "body", "id"); // nothing to deliver to: no crash, no wait
    }
    ASSERT_TRUE(desktop.startDbusMock(TestDesktop::Bus::session, kService, { "--template", "notification_daemon" }))
        << desktop.error().toStdString();
    DBusNotificationCenter center(BusLink::toAddress(desktop.sessionBusAddress()));

    EXPECT_EQ(answer(center), true);

    center.deliver("Tremlor", "Timer has expired. Tremlor has stopped.", QUuid::createUuid().toString());
    probe::Bus session(desktop.sessionBusAddress());
    ASSERT_TRUE(waitUntil([&] { return !session.calls(kService, kPath, "Notify").empty(); }));
    const auto notes = session.calls(kService, kPath, "Notify");
    ASSERT_EQ(notes.size(), 1u);
    const QVariantList& args = notes[0].args;
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(args[0].toString(), "Tremlor"); // application
    EXPECT_EQ(args[1].toUInt(), 0u); // a new notification, not a replacement
    EXPECT_EQ(args[3].toString().toStdString(), "Tremlor"); // summary: the title
    EXPECT_EQ(args[4].toString().toStdString(), "Timer has expired. Tremlor has stopped."); // body: the text
    EXPECT_EQ(args[6].toMap().value("sound-name").toString(), "message-new-instant");
}
