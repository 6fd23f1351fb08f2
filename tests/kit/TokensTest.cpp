#include "KestuDesign/Resources/KestuBundle.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KitTestSupport.h"

#include <QDir>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

using namespace kestu;
using namespace kittest;

namespace {
QString realBundle()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(KestuBundle::folderName));
}
} // namespace

// Text reads on every surface it is drawn on, in both appearances (WCAG contrast): primary text
// high, secondary lower, faded secondary (the search glass, an empty state's message) lower still.
TEST(KestuColorTokens, TextContrastsWithEverySurfaceInBothAppearances)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    for (const auto& [text, opacity, floor] : { std::tuple { &Color::text(), 1.0, 7.0 },
             { &Color::textSecondary(), 1.0, 2.75 }, { &Color::textSecondary(), 0.6, 1.75 } })
        for (const KestuColor* surface : { &Color::surface(), &Color::surfaceSecondary(), &Color::surfaceTertiary() })
            for (const QPalette& p : { palette(false), palette(true) }) {
                QImage seen(1, 1, QImage::Format_RGB32);
                seen.fill(surface->resolve(p));
                QPainter(&seen).fillRect(seen.rect(), withOpacity(text->resolve(p), opacity));
                const double lf = luminance(seen.pixelColor(0, 0)), lb = luminance(surface->resolve(p));
                EXPECT_GE((std::max(lf, lb) + 0.05) / (std::min(lf, lb) + 0.05), floor)
                    << text->resolve(p).name().toStdString() << " on " << surface->resolve(p).name().toStdString();
            }
}

// An under-damped spring settles on its target; each token keeps its character (the snappy
// spring settles first, the quick fade is the shorter and eases out, the smooth one eases in
// and out); with reduced motion an animation jumps to its end.
TEST(KestuAnimationTokens, SpringsSettleTokensKeepTheirCurvesAndReducedMotionJumps)
{
    const KestuSpring bouncy(0.4, 0.6);
    EXPECT_NEAR(bouncy.value(bouncy.settlingDuration()), 1.0, 0.002);
    using namespace Animation;
    const auto at = [](const KestuAnimation& a, double fraction) { return a.valueAt(a.durationMs() * fraction); };
    EXPECT_LT(springSnappy().durationMs(), springGentle().durationMs());
    EXPECT_LT(fadeQuick().durationMs(), fadeSmooth().durationMs());
    EXPECT_GT(at(fadeQuick(), 0.5), 0.6);
    EXPECT_LT(at(fadeSmooth(), 0.25), 0.2);
    EXPECT_NEAR(at(fadeSmooth(), 0.5), 0.5, 0.01);
    QVariantAnimation anim;
    const MotionOverride reduced(true);
    springBouncy().apply(&anim);
    EXPECT_EQ(anim.duration(), 0);
}

TEST(KestuBundleSearch, FirstCandidateHoldingTheBundleWinsAndNoneStopsTheProcess)
{
    QTemporaryDir first, second, third;
    const QString name = QLatin1String(KestuBundle::folderName);
    ASSERT_TRUE(QDir(second.path()).mkdir(name) && QDir(third.path()).mkdir(name));
    EXPECT_EQ(KestuBundle::find({ QString(), second.path(), third.path() }), QDir(second.path()).filePath(name));
    EXPECT_EQ(KestuBundle::find({ first.path(), QString(), third.path() }), QDir(third.path()).filePath(name));
    EXPECT_EQ(KestuBundle::find({ first.path(), QString() }), std::nullopt);
    // The build put the real bundle next to this binary: the first candidate.
    EXPECT_EQ(KestuBundle::find(KestuBundle::candidateFolders()), realBundle());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        (void)KestuBundle::require({ QString(), first.path() }), "unable to find bundle named KestuDesign_KestuDesign");
}

// Registration looks the bundle up once, loads the faces there are, and never retries, even
// when loading fails.
TEST(KestuFontRegistration, RunsOnceSkipsMissingFacesAndNeverRetries)
{
    QTemporaryDir dir;
    const QString bundle = QDir(dir.path()).filePath(QLatin1String(KestuBundle::folderName));
    ASSERT_TRUE(QDir().mkpath(bundle));
    for (const QString face : { "Satoshi-Regular.otf", "Satoshi-Bold.otf", "Satoshi-Black.otf" }) // no Medium
        ASSERT_TRUE(QFile::copy(QDir(realBundle()).filePath(face), QDir(bundle).filePath(face)));
    int lookups = 0;
    QStringList loaded;
    KestuFontRegistry registry(
        [&] {
            ++lookups;
            EXPECT_TRUE(registry.isRegistered()) << "the flag is set before any file is tried";
            return bundle;
        },
        [&](const QString& file) {
            loaded << QFileInfo(file).completeBaseName();
            return QStringList { QStringLiteral("Inter") };
        });
    registry.registerAll();
    registry.registerAll();
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(loaded, (QStringList { "Satoshi-Regular", "Satoshi-Bold", "Satoshi-Black" }));
    EXPECT_EQ(registry.face(QStringLiteral("Satoshi-Bold"), 22).value_or(QFont()).weight(), QFont::Bold);
    EXPECT_FALSE(registry.face(QStringLiteral("Satoshi-Medium"), 15).has_value());

    int attempts = 0;
    KestuFontRegistry failing([&] { return bundle; },
        [&](const QString&) {
            ++attempts;
            return QStringList();
        });
    failing.registerAll();
    failing.registerAll();
    EXPECT_EQ(attempts, 3);
    EXPECT_FALSE(failing.face(QStringLiteral("Satoshi-Regular"), 13).has_value());
}

// Each name the kit draws resolves to a symbol painted in the requested colour; unknown names
// draw nothing.
TEST(KestuSymbolTable, EveryNameTheKitDrawsResolves)
{
    ASSERT_FALSE(KestuSymbols::kitNames().isEmpty());
    for (const QString& name : KestuSymbols::kitNames()) {
        const QImage img = KestuSymbols::pixmap(name, 24, Qt::red, 1.0).toImage();
        int painted = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) > 128) {
                    ++painted;
                    EXPECT_EQ(img.pixelColor(x, y).toRgb().red(), 255);
                }
        EXPECT_GT(painted, 30) << name.toStdString();
    }
    EXPECT_TRUE(KestuSymbols::pixmap(QStringLiteral("no.such.symbol"), 24, Qt::red, 1.0).isNull());
}
