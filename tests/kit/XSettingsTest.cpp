#include "KitTestSupport.h"
#include "XcbClient.h"
#include "support/TestDesktop.h"

#include <QtEndian>

using namespace kestu;

namespace {
// An _XSETTINGS_SETTINGS blob (little-endian) with a string, a colour and an integer setting.
QByteArray settingsBlob(int enableAnimations, bool withAnimations = true)
{
    QByteArray out;
    const auto u32 = [&](quint32 v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    const auto padded = [&](const QByteArray& bytes) { out.append(bytes + QByteArray((4 - bytes.size() % 4) % 4, 0)); };
    const auto header = [&](char type, const QByteArray& name) {
        const quint16 length = quint16(name.size());
        out.append(type).append(char(0)).append(reinterpret_cast<const char*>(&length), 2);
        padded(name);
        u32(0); // last-change serial
    };
    out.append(QByteArray(4, 0)); // LSBFirst
    u32(7);
    u32(withAnimations ? 3 : 2);
    header(1, "Net/ThemeName");
    u32(7);
    padded("Adwaita");
    header(2, "Gtk/Color");
    out.append(QByteArray("\1\0\2\0\3\0\4\0", 8));
    if (withAnimations) {
        header(0, "Gtk/EnableAnimations");
        u32(quint32(enableAnimations));
    }
    return out;
}
} // namespace

// Every truncation and a lying length end the parse without reading past the data.
TEST(ReducedMotionXSettings, ParsesTheBlobAndSurvivesMalformedData)
{
    EXPECT_EQ(ReducedMotion::parseXSettingsIntegers(settingsBlob(0)),
        (QHash<QString, int> { { "Gtk/EnableAnimations", 0 } }));
    const QByteArray whole = settingsBlob(1);
    for (qsizetype n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(
            ReducedMotion::parseXSettingsIntegers(whole.left(n)).contains(QStringLiteral("Gtk/EnableAnimations")))
            << n;
    QByteArray lying = whole;
    qToLittleEndian<quint16>(0xffff, lying.data() + 14); // the first name's length
    EXPECT_TRUE(ReducedMotion::parseXSettingsIntegers(lying).isEmpty());
    QByteArray manySettings = whole;
    qToLittleEndian<quint32>(0xffffffff, manySettings.data() + 8);
    EXPECT_EQ(ReducedMotion::parseXSettingsIntegers(manySettings).value(QStringLiteral("Gtk/EnableAnimations")), 1);
}

// A settings manager owns the selection and publishes blobs, as a desktop's would.
TEST(ReducedMotionXSettings, ReadsTheSettingsManagerOnARealServer)
{
    TestDesktop desktop(TestDesktop::Options { true, false, false, false, QStringLiteral("640x480x24"), false });
    REQUIRE_DESKTOP(desktop);
    const XcbClient reader(desktop.display()), x(desktop.display());
    EXPECT_EQ(ReducedMotion::fromXSettings(reader.c, 0), std::nullopt) << "no settings manager";
    EXPECT_EQ(ReducedMotion::fromXSettings(nullptr, 0), std::nullopt);

    xcb_connection_t* c = x.c;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, x.root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
        XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(c, window, x.atom("_XSETTINGS_S0"), XCB_CURRENT_TIME);
    const xcb_atom_t settings = x.atom("_XSETTINGS_SETTINGS");
    const std::pair<QByteArray, std::optional<bool>> published[] = { { settingsBlob(1), false },
        { settingsBlob(1, false), std::nullopt }, { "\x01garbage", std::nullopt }, { settingsBlob(0), true } };
    for (const auto& [blob, reduced] : published) {
        xcb_change_property(
            c, XCB_PROP_MODE_REPLACE, window, settings, settings, 8, uint32_t(blob.size()), blob.constData());
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // a round trip
        EXPECT_EQ(ReducedMotion::fromXSettings(reader.c, 0), reduced) << blob.toHex().toStdString();
    }
    // The settings manager ranks above GNOME's tool, which says the opposite here.
    QTemporaryDir dir;
    ReducedMotionNotifier notifier(
        QDBusConnection(QStringLiteral("no-bus")), desktop.display().toLocal8Bit(), kittest::script(dir, "echo true"));
    EXPECT_TRUE(waitUntil([&] { return notifier.reduced(); }));
}
