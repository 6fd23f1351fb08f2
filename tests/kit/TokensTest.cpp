#include "KestuDesign/Resources/KestuBundle.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuTransition.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "KitTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QVariantAnimation>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kestu;
using namespace kittest;

namespace {
void expectRgb(const QColor& c, double r, double g, double b, double a = 1.0)
{
    EXPECT_NEAR(c.redF(), r, 0.002);
    EXPECT_NEAR(c.greenF(), g, 0.002);
    EXPECT_NEAR(c.blueF(), b, 0.002);
    EXPECT_NEAR(c.alphaF(), a, 0.002);
}

QString realBundle()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(KestuBundle::folderName));
}
} // namespace

TEST(KestuColorTokens, ResolvePerAppearanceWithOpacityAndFixedColours)
{
    expectRgb(Color::text().resolve(darkPalette()), 0.96, 0.96, 0.97);
    expectRgb(Color::text().resolve(lightPalette()), 0.11, 0.11, 0.12);
    expectRgb(Color::text().resolve(KestuAppearance::unspecified), 0.11, 0.11, 0.12);
    // Opacity survives the resolution.
    expectRgb(Color::separator().resolve(KestuAppearance::dark), 0.33, 0.33, 0.35, 0.3);

    // A widget follows its own palette, and the surface is the palette's window colour.
    QWidget w;
    w.setPalette(darkPalette());
    EXPECT_EQ(appearanceOf(&w), KestuAppearance::dark);
    EXPECT_EQ(Color::surface().resolve(&w), QColor(30, 30, 32));
    expectRgb(Color::surfaceSecondary().resolve(&w), 0.17, 0.17, 0.18);
}

TEST(KestuAnimationTokens, SpringsSettleOvershootAndReducedMotionJumps)
{
    const KestuSpring bouncy(0.4, 0.6);
    EXPECT_DOUBLE_EQ(bouncy.value(0), 0);
    EXPECT_NEAR(bouncy.value(bouncy.settlingDuration()), 1.0, 0.002);
    double peak = 0;
    for (int i = 0; i < 100; ++i)
        peak = std::max(peak, bouncy.value(i * 0.01));
    EXPECT_GT(peak, 1.05) << "an under-damped spring overshoots";

    // The easing curve follows the analytic spring.
    const KestuAnimation& snappy = Animation::springSnappy();
    const KestuSpring spring(0.3, 0.75);
    for (double p : { 0.1, 0.25, 0.5, 0.8 })
        EXPECT_NEAR(snappy.easingCurve().valueForProgress(p), spring.value(p * spring.settlingDuration()), 0.01) << p;
    EXPECT_DOUBLE_EQ(snappy.easingCurve().valueForProgress(1.0), 1.0);

    QVariantAnimation anim;
    setReducedMotionOverride(true);
    Animation::springBouncy().apply(&anim);
    EXPECT_EQ(anim.duration(), 0);
    setReducedMotionOverride(false);
    Animation::springBouncy().apply(&anim);
    EXPECT_EQ(anim.duration(), Animation::springBouncy().durationMs());
    setReducedMotionOverride(std::nullopt);
}

TEST(KestuBundleSearch, FirstCandidateHoldingTheBundleWins)
{
    QTemporaryDir first, second, third;
    const QString name = QLatin1String(KestuBundle::folderName);
    ASSERT_TRUE(QDir(second.path()).mkdir(name));
    ASSERT_TRUE(QDir(third.path()).mkdir(name));
    // An absent first candidate is skipped; the second holds it; the third is not tried.
    EXPECT_EQ(KestuBundle::find({ QString(), second.path(), third.path() }), QDir(second.path()).filePath(name));
    EXPECT_EQ(KestuBundle::find({ first.path(), QString(), third.path() }), QDir(third.path()).filePath(name));
    EXPECT_EQ(KestuBundle::find({ first.path(), QString() }), std::nullopt);
    // The build put the real bundle next to this binary: the first candidate.
    EXPECT_EQ(KestuBundle::find(KestuBundle::candidateFolders()), realBundle());
}

TEST(KestuBundleSearchDeathTest, MissingBundleStopsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            QTemporaryDir empty;
            KestuFontRegistry registry(
                [&] { return KestuBundle::require({ empty.path() }); }, [](const QString&) { return QStringList(); });
            registry.registerAll();
        },
        "unable to find bundle named KestuDesign_KestuDesign");
    // And the real lookup says the same when no candidate holds the bundle.
    QTemporaryDir empty;
    EXPECT_DEATH(
        (void)KestuBundle::require({ QString(), empty.path() }), "unable to find bundle named KestuDesign_KestuDesign");
}

TEST(KestuFontRegistration, RunsOnceSkipsMissingFacesAndNeverRetries)
{
    QTemporaryDir dir;
    const QString bundle = QDir(dir.path()).filePath(QLatin1String(KestuBundle::folderName));
    ASSERT_TRUE(QDir().mkpath(bundle));
    for (const char* face : { "Satoshi-Regular", "Satoshi-Bold", "Satoshi-Black" }) // no Medium
        ASSERT_TRUE(QFile::copy(QDir(realBundle()).filePath(QLatin1String(face) + ".otf"),
            QDir(bundle).filePath(QLatin1String(face) + ".otf")));

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
    registry.registerAll();
    EXPECT_EQ(lookups, 1);
    EXPECT_EQ(loaded, (QStringList { "Satoshi-Regular", "Satoshi-Bold", "Satoshi-Black" }));
    EXPECT_TRUE(registry.face(QStringLiteral("Satoshi-Bold"), 22).has_value());
    EXPECT_EQ(registry.face(QStringLiteral("Satoshi-Bold"), 22)->weight(), QFont::Bold);
    EXPECT_FALSE(registry.face(QStringLiteral("Satoshi-Medium"), 15).has_value());

    // A registration whose loader fails is not retried either.
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

TEST(KestuFontRegistration, CustomTokenRegistersTheRealFacesFirst)
{
    const QFont& title = Font::title(); // before any explicit registration
    EXPECT_TRUE(KestuFontRegistry::shared().isRegistered());
    EXPECT_EQ(title.pixelSize(), 18);
    EXPECT_EQ(QFontInfo(title).family(), QStringLiteral("Inter"));
    EXPECT_EQ(QFontInfo(Font::displayLarge()).weight(), QFont::Black);
    Kestu::registerFonts(); // nothing more happens
}

TEST(KestuSymbolTable, EveryNameTheKitDrawsResolves)
{
    const QStringList names { "magnifyingglass", "xmark.circle.fill", "checkmark.circle.fill", "pencil" };
    EXPECT_EQ(KestuSymbols::kitNames(), names);
    for (const QString& name : names) {
        ASSERT_TRUE(KestuSymbols::contains(name)) << name.toStdString();
        const QPixmap pm = KestuSymbols::pixmap(name, 24, Qt::red, 1.0);
        ASSERT_FALSE(pm.isNull()) << name.toStdString();
        // Something is drawn, in the requested colour.
        const QImage img = pm.toImage();
        int painted = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) > 128) {
                    ++painted;
                    EXPECT_EQ(img.pixelColor(x, y).toRgb().red(), 255);
                }
        EXPECT_GT(painted, 30) << name.toStdString();
    }
    EXPECT_FALSE(KestuSymbols::contains(QStringLiteral("no.such.symbol")));
    EXPECT_TRUE(KestuSymbols::pixmap(QStringLiteral("no.such.symbol"), 24, Qt::red, 1.0).isNull());
    // A host adds its own names.
    QPixmap square(8, 8);
    square.fill(Qt::black);
    KestuSymbols::registerSymbol(QStringLiteral("host.square"), QIcon(square));
    EXPECT_TRUE(KestuSymbols::contains(QStringLiteral("host.square")));
}
