#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "support/TestDesktop.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

using namespace kestu;

namespace {
// An _XSETTINGS_SETTINGS blob (little-endian) with an integer, a string and a colour setting.
QByteArray settingsBlob(int enableAnimations, bool withAnimations = true)
{
    QByteArray out;
    const auto u8 = [&](int v) { out.append(char(v)); };
    const auto u16 = [&](quint16 v) { out.append(reinterpret_cast<const char*>(&v), 2); };
    const auto u32 = [&](quint32 v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    const auto pad = [&] {
        while (out.size() % 4)
            u8(0);
    };
    const auto header = [&](int type, const QByteArray& name) {
        u8(type);
        u8(0);
        u16(quint16(name.size()));
        out.append(name);
        pad();
        u32(0); // last-change serial
    };
    u8(0); // LSBFirst
    u8(0), u8(0), u8(0);
    u32(7);
    u32(withAnimations ? 3 : 2);
    header(1, "Net/ThemeName");
    u32(7);
    out.append("Adwaita");
    pad();
    header(2, "Gtk/Color");
    u16(1), u16(2), u16(3), u16(4);
    if (withAnimations) {
        header(0, "Gtk/EnableAnimations");
        u32(quint32(enableAnimations));
    }
    return out;
}

// Owns the X settings selection on a private server and publishes a blob, like a settings
// manager would.
struct SettingsManager {
    xcb_connection_t* c;
    xcb_window_t window = 0;

    explicit SettingsManager(const QString& display)
        : c(xcb_connect(display.toLocal8Bit().constData(), nullptr))
    {
    }
    ~SettingsManager() { xcb_disconnect(c); }

    xcb_atom_t atom(const char* name) const
    {
        auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }

    void publish(const QByteArray& blob)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        if (!window) {
            window = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_set_selection_owner(c, window, atom("_XSETTINGS_S0"), XCB_CURRENT_TIME);
        }
        const xcb_atom_t settings = atom("_XSETTINGS_SETTINGS");
        xcb_change_property(
            c, XCB_PROP_MODE_REPLACE, window, settings, settings, 8, uint32_t(blob.size()), blob.constData());
        free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // a round trip
    }
};
} // namespace

TEST(ReducedMotionXSettings, ParsesTheBlobAndSurvivesMalformedData)
{
    const QHash<QString, int> ints = ReducedMotion::parseXSettingsIntegers(settingsBlob(0));
    EXPECT_EQ(ints.value(QStringLiteral("Gtk/EnableAnimations"), -1), 0);
    EXPECT_EQ(ints.size(), 1);

    // Every truncation and a lying length end the parse without reading past the data.
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

TEST(ReducedMotionXSettings, ReadsTheSettingsManagerOnARealServer)
{
    TestDesktop desktop(TestDesktop::Options { true, false, false, false, QStringLiteral("640x480x24"), false });
    REQUIRE_DESKTOP(desktop);
    xcb_connection_t* reader = xcb_connect(desktop.display().toLocal8Bit().constData(), nullptr);
    EXPECT_EQ(ReducedMotion::fromXSettings(reader, 0), std::nullopt) << "no settings manager";

    SettingsManager manager(desktop.display());
    manager.publish(settingsBlob(0));
    EXPECT_EQ(ReducedMotion::fromXSettings(reader, 0), true);
    manager.publish(settingsBlob(1));
    EXPECT_EQ(ReducedMotion::fromXSettings(reader, 0), false);
    manager.publish(settingsBlob(1, false));
    EXPECT_EQ(ReducedMotion::fromXSettings(reader, 0), std::nullopt) << "no such setting";
    manager.publish("\x01garbage");
    EXPECT_EQ(ReducedMotion::fromXSettings(reader, 0), std::nullopt);
    xcb_disconnect(reader);
    EXPECT_EQ(ReducedMotion::fromXSettings(nullptr, 0), std::nullopt);
}
