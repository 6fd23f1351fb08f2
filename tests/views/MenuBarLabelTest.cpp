#include "App/MenuBarLabel.h"

#include "App/TremlorGlyphIcon.h"
#include "core/TempDefaults.h"

#include <QImage>

#include <tuple>

using namespace tremlor;
using Mode = MenuBarDisplayMode;

namespace {
bool saveSquare(const QString& path, int size, Qt::GlobalColor color)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    return image.save(path);
}
} // namespace

// The label's rules, one row per situation: idle shows the glyph alone in every mode, paused
// wins for the glyph, the countdown switch wins over the app-name mode, empty texts show nothing.
TEST(MenuBarLabel, GlyphAndTextFollowTheSessionAndTheSettings)
{
    const QString idle = "tremlor-glyph", active = "tremlor-glyph-active", paused = "tremlor-glyph-paused";
    const std::tuple<const char*, MenuBarLabel::Inputs, MenuBarLabel::Content> cases[] = {
        { "idle", { false, false, "5:00", "Files", true, Mode::iconAndCountdown }, { idle, "", "", false } },
        { "paused but not active", { false, true, "", "", false, Mode::iconOnly }, { paused, "", "", false } },
        { "running, icon only", { true, false, "4:59", "Files", false, Mode::iconOnly }, { active, "", "", false } },
        { "indefinite countdown", { true, false, "∞", "", false, Mode::iconAndCountdown }, { active, "∞", "∞", true } },
        { "countdown guide", { true, false, "1:05:09", "", false, Mode::iconAndCountdown },
            { active, "1:05:09", "0:00:00", true } },
        { "switch wins over app", { true, false, "12:34", "Files", true, Mode::iconAndAppName },
            { active, "12:34", "00:00", true } },
        { "paused keeps text rules", { true, true, "0:42", "", false, Mode::iconAndCountdown },
            { paused, "0:42", "0:00", true } },
        { "app name", { true, false, "9:00", "Text Editor", false, Mode::iconAndAppName },
            { active, "Text Editor", "Text Editor", false } },
        { "app name on one line", { true, false, "", "Long\nName", false, Mode::iconAndAppName },
            { active, "Long Name", "Long Name", false } },
        { "no app yet", { true, false, "9:00", "", false, Mode::iconAndAppName }, { active, "", "", false } },
        { "empty countdown", { true, false, "", "Files", true, Mode::iconOnly }, { active, "", "", false } },
    };
    for (const auto& [name, in, out] : cases)
        EXPECT_EQ(MenuBarLabel::contentFor(in), out) << name;
}

// The glyphs register once per process, an image of 18 points whatever the pixel size of its
// files, drawn from the @2x file (optional) at double density; nothing registers for a glyph
// whose 1x file is missing or unreadable.
TEST(TremlorGlyphIcon, RegistersFromTheFilesOnceAndSkipsMissingOnes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(saveSquare(dir.filePath("tremlor-glyph.png"), 40, Qt::red));
    ASSERT_TRUE(saveSquare(dir.filePath("tremlor-glyph@2x.png"), 50, Qt::blue));
    ASSERT_TRUE(saveSquare(dir.filePath("tremlor-glyph-active@2x.png"), 50, Qt::blue)); // no 1x beside it
    writeFile(dir.filePath("tremlor-glyph-paused.png"), "not an image");

    TremlorGlyphIcon::resetForTesting();
    TremlorGlyphIcon::setFolder(dir.path());
    TremlorGlyphIcon::registerAllOnce();
    EXPECT_TRUE(TremlorGlyphIcon::isRegistered());
    const QIcon glyph = TremlorGlyphIcon::named("tremlor-glyph");
    ASSERT_FALSE(glyph.isNull());
    EXPECT_EQ(glyph.availableSizes(), QList<QSize>({ QSize(18, 18) }));
    for (const qreal dpr : { 1.0, 2.0 }) {
        const QPixmap pixmap = glyph.pixmap(QSize(18, 18), dpr);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(18, 18)) << dpr;
        EXPECT_EQ(pixmap.size(), QSize(18, 18) * dpr) << dpr;
        EXPECT_EQ(pixmap.toImage().pixelColor(9, 9), QColor(dpr > 1 ? Qt::blue : Qt::red)) << dpr;
    }
    EXPECT_FALSE(glyph.isMask());
    EXPECT_TRUE(TremlorGlyphIcon::named("tremlor-glyph-active").isNull());
    EXPECT_TRUE(TremlorGlyphIcon::named("tremlor-glyph-paused").isNull());

    // A later start-up does not register again, even when the files have changed.
    ASSERT_TRUE(saveSquare(dir.filePath("tremlor-glyph-paused.png"), 18, Qt::red));
    TremlorGlyphIcon::registerAllOnce();
    EXPECT_TRUE(TremlorGlyphIcon::named("tremlor-glyph-paused").isNull());
    // Without its @2x file a glyph draws from the 1x file at every density.
    TremlorGlyphIcon::registerImage("tremlor-glyph-paused", false);
    const QPixmap single = TremlorGlyphIcon::named("tremlor-glyph-paused").pixmap(QSize(18, 18), 2.0);
    EXPECT_EQ(single.deviceIndependentSize(), QSizeF(18, 18));
    EXPECT_EQ(single.toImage().pixelColor(18, 18), QColor(Qt::red));
    TremlorGlyphIcon::resetForTesting();
}

// The window icon takes every size the build renders beside the executable or installs.
TEST(TremlorGlyphIcon, AppIconTakesTheRenderedAndInstalledSizes)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath("bin/icons/32") && root.mkpath("share/icons/hicolor/64x64/apps"));
    ASSERT_TRUE(saveSquare(root.filePath("bin/icons/32/com.tremlor.app.png"), 32, Qt::red));
    ASSERT_TRUE(saveSquare(root.filePath("share/icons/hicolor/64x64/apps/com.tremlor.app.png"), 64, Qt::blue));
    const QList<QSize> sizes = TremlorGlyphIcon::appIcon(root.filePath("bin")).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(64, 64)));
}
