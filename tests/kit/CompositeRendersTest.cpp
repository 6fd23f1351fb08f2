#include "KestuDesign/Components/KestuAboutView.h"
#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KestuDesign/Components/KestuFooterButton.h"
#include "KestuDesign/Components/KestuInlineEditLabel.h"
#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KitCompositeSupport.h"
#include "KitTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QStyle>
#include <QVariantAnimation>

#include <memory>

// Draws each composite in the light and the dark appearance into PNG files for a person to
// look at (KESTU_COMPOSITE_RENDER_DIR, in the build folder), each checked for its size, for
// more than a bare background and for a real difference between the appearances.
// The kit's own symbols stand in for the host's.
using namespace kestu;

namespace {
QPalette appearance(bool dark)
{
    QPalette palette = QApplication::style()->standardPalette();
    if (dark) {
        const QColor text(235, 235, 240);
        palette.setColor(QPalette::Window, QColor(30, 30, 32));
        palette.setColor(QPalette::Base, QColor(40, 40, 42));
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Text, text);
    }
    return palette;
}

const QString bolt = QStringLiteral("magnifyingglass");

QList<KestuOnboardingFeature> sixFeatures()
{
    const QString icons[]
        = { QStringLiteral("pencil"), QStringLiteral("magnifyingglass"), QStringLiteral("checkmark.circle.fill") };
    const char* texts[][2] = { { "Natural movement", "Curved, jittered paths that look like a person." },
        { "Timed sessions", "For 15 minutes, an hour, or until you stop." }, { "No sleep", "Keeps the display awake." },
        { "App rotation", "Brings your chosen applications to the front in turn, one after another, all day." },
        { "Schedule", "Starts and stops by the week." }, { "Smart pause", "Steps aside while you work." } };
    QList<KestuOnboardingFeature> list;
    for (int i = 0; i < 6; ++i)
        list.append({ icons[i % 3], QString::fromUtf8(texts[i][0]), QString::fromUtf8(texts[i][1]) });
    return list;
}

QWidget* page(int step)
{
    if (step == 0)
        return new KestuOnboardingWelcomeView(QStringLiteral("Tremlor"), bolt,
            QStringLiteral("Keeps your computer awake.\nQuietly, from the tray."),
            QList<QColor> { QColor(255, 94, 98), QColor(90, 140, 255) });
    if (step == 1)
        return new KestuOnboardingFeatureGrid(QStringLiteral("What Tremlor does"), sixFeatures());
    if (step == 2)
        return new QWidget;
    return new KestuOnboardingCompleteView(QStringLiteral("Tremlor"), QStringLiteral("Find Tremlor in the tray."));
}

class CompositeRenders : public CompositeTest {
protected:
    // Renders what `make` builds, in both appearances, after `prepare` (given the shown widget).
    template <typename Make>
    void render(const QString& name, QSize size, Make make, std::function<void(QWidget*)> prepare = {})
    {
        const QString dir = QStringLiteral(KESTU_COMPOSITE_RENDER_DIR);
        QDir().mkpath(dir);
        QImage images[2];
        for (bool dark : { false, true }) {
            std::unique_ptr<QWidget> widget = make();
            widget->setPalette(appearance(dark));
            widget->setAutoFillBackground(true);
            widget->resize(size);
            widget->show();
            if (prepare)
                prepare(widget.get());
            const QString file = dir + QStringLiteral("/%1-%2.png").arg(name, dark ? "dark" : "light");
            images[dark] = widget->grab().toImage();
            EXPECT_TRUE(images[dark].save(file)) << file.toStdString();
        }
        // The gradient draws its own colours whatever the appearance.
        kittest::expectRendered(
            images[0], images[1], size, name, !name.startsWith(QStringLiteral("animated-gradient")));
    }
};
} // namespace

TEST_F(CompositeRenders, EveryCompositeInBothAppearances)
{
    setReducedMotionOverride(true); // final states, without waiting for any entrance
    render(QStringLiteral("footer-toolbar"), QSize(360, 44), [] {
        const auto action = [](const char* icon, const char* tip) {
            return KestuFooterAction(QLatin1String(icon), QLatin1String(tip), {}, Qt::NoModifier, {}, {});
        };
        auto bar = std::make_unique<KestuFooterToolbar>(
            QList { action("pencil", "Rename"), action("magnifyingglass", "Find") },
            QList { action("xmark.circle.fill", "Quit") });
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2)); // the first one hovered
        QCoreApplication::sendEvent(bar->buttons().first(), &enter);
        return bar;
    });
    auto name = std::make_shared<QString>(QStringLiteral("Deep focus"));
    const auto label = [name] {
        return std::make_unique<KestuInlineEditLabel>(KestuBinding<QString>::of(name), Font::body(),
            KestuInlineEditLabel::PencilVisibility::always, false, std::function<void()>());
    };
    render(QStringLiteral("inline-edit-label"), QSize(220, 30), label);
    render(QStringLiteral("inline-edit-label-editing"), QSize(220, 30), label,
        [](QWidget* w) { static_cast<KestuInlineEditLabel*>(w)->pencil()->click(); });
    render(QStringLiteral("about-view"), QSize(420, 560), [] {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2"));
        qApp->setProperty("buildNumber", QStringLiteral("88"));
        QPixmap icon(192, 192);
        icon.fill(QColor(60, 120, 220));
        return std::make_unique<KestuAboutView>(QStringLiteral("Tremlor"),
            QStringLiteral("Keeps your computer awake and your status active by moving the pointer now and then, "
                           "so long meetings and downloads are never cut short."),
            QIcon(icon));
    });
    QCoreApplication::setApplicationVersion(QString());
    qApp->setProperty("buildNumber", QVariant());
    for (int step : { 0, 1, 3 }) {
        render(QStringLiteral("onboarding-shell-step%1").arg(step), QSize(540, 420), [step] {
            auto shell = std::make_unique<KestuOnboardingShell>(4, std::function<void()>(), page);
            for (int i = 0; i < step; ++i)
                shell->findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
            return shell;
        });
    }
}

TEST_F(CompositeRenders, MomentsOfTheAnimations)
{
    render(QStringLiteral("animated-gradient-start"), QSize(240, 160), [] {
        return std::make_unique<KestuAnimatedGradient>(
            QList<QColor> { QColor(255, 94, 98), QColor(255, 195, 113), QColor(90, 140, 255) }, 4.0);
    });
    render(
        QStringLiteral("animated-gradient-half"), QSize(240, 160),
        [] {
            return std::make_unique<KestuAnimatedGradient>(QList<QColor> { Qt::red, Qt::blue }, 4.0);
        },
        [](QWidget* w) { w->findChild<QVariantAnimation*>(QStringLiteral("gradient-swing"))->setCurrentTime(2000); });
    render(
        QStringLiteral("onboarding-features-entering"), QSize(540, 360),
        [] { return std::unique_ptr<QWidget>(page(1)); },
        [](QWidget* w) {
            auto* grid = static_cast<KestuOnboardingFeatureGrid*>(w);
            for (int i = 0; i < grid->cardCount(); ++i)
                grid->cardEntrance(i)->setCurrentTime(200);
        });
    render(
        QStringLiteral("onboarding-shell-sliding"), QSize(540, 420),
        [] { return std::make_unique<KestuOnboardingShell>(4, std::function<void()>(), page); },
        [](QWidget* w) {
            w->findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
            auto* slide = w->findChild<QVariantAnimation*>(QStringLiteral("onboarding-page-transition"));
            slide->setCurrentTime(slide->duration() / 8);
        });
}
