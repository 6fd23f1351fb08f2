#include "KitTestSupport.h"
#include "support/TestDesktop.h"
#include "support/WaitUntil.h"

#include <QDBusMessage>
#include <QUuid>

using namespace kestu;

namespace {
const QString portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settings = QStringLiteral("org.freedesktop.portal.Settings");

// A private session bus with a mocked settings portal, driven through the mock's own interface.
struct PortalBus {
    TestDesktop desktop { TestDesktop::Options { false, false, true, false, {}, false } };
    QString name = QUuid::createUuid().toString();
    QDBusConnection bus = QDBusConnection::connectToBus(desktop.sessionBusAddress(), name);

    ~PortalBus() { QDBusConnection::disconnectFromBus(name); }

    bool start() { return desktop.startDbusMock(TestDesktop::Bus::session, portal, { portal, portalPath, settings }); }

    void mock(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(portal, portalPath, QStringLiteral("org.freedesktop.DBus.Mock"), method);
        call.setArguments(QVariantList { settings } + arguments);
        const QDBusMessage reply = bus.call(call);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
};

} // namespace

// GNOME's animation switch is the opposite of the preference; a failing or missing tool says
// nothing.
TEST(ReducedMotion, FallsBackToGnomesAnimationSwitch)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReducedMotion::fromGSettings(kittest::script(dir, "echo false")), true);
    EXPECT_EQ(ReducedMotion::fromGSettings(kittest::script(dir, "echo true")), false);
    EXPECT_EQ(ReducedMotion::fromGSettings(kittest::script(dir, "echo 'No such schema' >&2; exit 1")), std::nullopt);
    EXPECT_EQ(ReducedMotion::fromGSettings(dir.filePath(QStringLiteral("missing"))), std::nullopt);
}

// Views ask at animation time: the answer never waits for the desktop, arrives later, and
// follows the portal's changes; GNOME's tool runs off the GUI thread and ranks below the portal.
TEST(ReducedMotion, NotifierAnswersAtOnceAndFollowsThePortal)
{
    PortalBus p;
    REQUIRE_DESKTOP(p.desktop);
    ASSERT_TRUE(p.start()) << p.desktop.error().toStdString();
    // An older portal with Read only, slow, answering a variant inside a variant.
    p.mock("AddMethod", { "Read", "ss", "v", "import time; time.sleep(0.3); ret = dbus.UInt32(1, variant_level=1)" });
    QTemporaryDir dir;
    ReducedMotionNotifier notifier(
        p.bus, TestDesktop::absentDisplay().toLocal8Bit(), kittest::script(dir, "echo true"));
    std::vector<bool> seen;
    QObject::connect(&notifier, &ReducedMotionNotifier::changed, [&](bool reduced) { seen.push_back(reduced); });
    EXPECT_FALSE(notifier.reduced()); // asked, not waited for
    EXPECT_TRUE(waitUntil([&] { return notifier.reduced(); }));

    p.mock(
        "EmitSignal", { "SettingChanged", "ssv", QVariantList { "org.freedesktop.appearance", "reduced-motion", 0u } });
    EXPECT_TRUE(waitUntil([&] { return !notifier.reduced(); }));
    EXPECT_EQ(seen, (std::vector<bool> { true, false }));
}
