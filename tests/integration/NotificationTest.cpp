#include "DBusMockProbe.h"
#include "Platform/DBus/BusLink.h"
#include "Platform/DBus/DBusNotificationCenter.h"
#include "support/TestDesktop.h"

#include <QUuid>

#include <gtest/gtest.h>

#include <optional>

using namespace tremlor;
using probe::waitUntil;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

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
        std::optional<bool> granted;
        center.requestAuthorization([&](bool answer) { granted = answer; });
        EXPECT_FALSE(granted.has_value());
        ASSERT_TRUE(waitUntil([&] { return granted.has_value(); }, 3000));
        EXPECT_FALSE(*granted);
        center.deliver("Tremlor", "body", "id"); // nothing to deliver to: no crash, no wait
    }
    ASSERT_TRUE(desktop.startDbusMock(TestDesktop::Bus::session, kService, { "--template", "notification_daemon" }))
        << desktop.error().toStdString();
    DBusNotificationCenter center(BusLink::toAddress(desktop.sessionBusAddress()));

    std::optional<bool> granted;
    center.requestAuthorization([&](bool answer) { granted = answer; });
    EXPECT_FALSE(granted.has_value()); // answered later, never inside the call
    ASSERT_TRUE(waitUntil([&] { return granted.has_value(); }));
    EXPECT_TRUE(*granted);

    center.deliver("Tremlor", "Timer has expired. Tremlor has stopped.", QUuid::createUuid().toString());
    probe::Bus session(desktop.sessionBusAddress());
    ASSERT_TRUE(waitUntil([&] { return !session.calls(kService, kPath, "Notify").empty(); }));
    const auto notes = session.calls(kService, kPath, "Notify");
    ASSERT_EQ(notes.size(), 1u);
    const QVariantList& args = notes[0].args;
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(args[0].toString(), "Tremlor"); // application
    EXPECT_EQ(args[1].toUInt(), 0u); // a new notification, not a replacement
    EXPECT_EQ(args[3].toString(), "Tremlor");
    EXPECT_EQ(args[4].toString(), "Timer has expired. Tremlor has stopped.");
    EXPECT_EQ(args[6].toMap().value("sound-name").toString(), "message-new-instant");
}
