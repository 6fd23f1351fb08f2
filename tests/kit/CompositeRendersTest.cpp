#include "KestuDesign/Components/KestuAboutView.h"
#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KestuDesign/Components/KestuFooterButton.h"
#include "KestuDesign/Components/KestuFooterToolbar.h"
#include "KestuDesign/Components/KestuInlineEditLabel.h"
#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KitCompositeSupport.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QVariantAnimation>

#include <memory>

// Draws each composite in the light and the dark appearance into PNG files for a person to
// look at (KESTU_COMPOSITE_RENDER_DIR, in the build folder). Nothing is compared to a picture.
using namespace kestu;

namespace {
QPalette appearance(bool dark)
{
    QPalette palette = QApplication::style()->standardPalette();
    if (!dark)
        return palette;
    const QColor window(30, 30, 32);
    const QColor text(235, 235, 240);
    for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::Base, QColor(40, 40, 42));
        palette.setColor(group, QPalette::Button, QColor(50, 50, 52));
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Link, QColor(80, 150, 255));
    }
    return palette;
}

// A plain host symbol: a filled shape drawn on a transparent square.
QIcon shapeIcon(int kind)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    QPainterPath path;
    switch (kind % 4) {
    case 0:
        path.addEllipse(QRectF(8, 8, 48, 48));
        path.addEllipse(QRectF(22, 22, 20, 20));
        break;
    case 1:
        path.addRoundedRect(QRectF(10, 10, 44, 44), 10, 10);
        break;
    case 2:
        path.moveTo(32, 6);
        path.lineTo(58, 56);
        path.lineTo(6, 56);
        path.closeSubpath();
        break;
    default:
        path.addRect(QRectF(28, 6, 8, 52));
        path.addRect(QRectF(6, 28, 52, 8));
        break;
    }
    path.setFillRule(Qt::OddEvenFill);
    painter.drawPath(path);
    return QIcon(pixmap);
}

class CompositeRenders : public CompositeTest {
protected:
    void SetUp() override
    {
        CompositeTest::SetUp();
        // Final states, without waiting for any entrance.
        setReducedMotionOverride(true);
        QDir().mkpath(dir());
        const char* names[] = { "gearshape", "questionmark.circle", "power", "cursorarrow", "timer", "moon",
            "app.badge", "calendar", "keyboard", "bolt" };
        for (int i = 0; i < int(std::size(names)); ++i)
            KestuSymbols::registerSymbol(QLatin1String(names[i]), shapeIcon(i));
    }

    static QString dir() { return QStringLiteral(KESTU_COMPOSITE_RENDER_DIR); }

    // Renders the widget made by `make` in both appearances; returns how many files it wrote.
    template <typename Make> int render(const QString& name, QSize size, Make make)
    {
        int written = 0;
        for (bool dark : { false, true }) {
            std::unique_ptr<QWidget> widget = make();
            widget->setPalette(appearance(dark));
            widget->setAutoFillBackground(true);
            widget->resize(size);
            widget->show();
            QCoreApplication::processEvents();
            const QString file = dir() + QStringLiteral("/%1-%2.png").arg(name, dark ? "dark" : "light");
            if (widget->grab().save(file))
                ++written;
        }
        return written;
    }
};

QList<KestuOnboardingFeature> sixFeatures()
{
    return {
        { QStringLiteral("cursorarrow"), QStringLiteral("Natural movement"),
            QStringLiteral("Curved, jittered cursor paths that look like a person.") },
        { QStringLiteral("timer"), QStringLiteral("Timed sessions"),
            QStringLiteral("Run for 15 minutes, an hour, or until you stop it.") },
        { QStringLiteral("moon"), QStringLiteral("No sleep"),
            QStringLiteral("Keeps the display and the system awake.") },
        { QStringLiteral("app.badge"), QStringLiteral("App rotation"),
            QStringLiteral("Brings your chosen applications to the front in turn, one after another, all day long.") },
        { QStringLiteral("calendar"), QStringLiteral("Schedule"), QStringLiteral("Starts and stops by the week.") },
        { QStringLiteral("keyboard"), QStringLiteral("Smart pause"), QStringLiteral("Steps aside while you work.") },
    };
}
} // namespace

TEST_F(CompositeRenders, EveryCompositeInBothAppearances)
{
    int written = 0;
    written += render(QStringLiteral("footer-toolbar"), QSize(360, 44), [] {
        auto bar = std::make_unique<KestuFooterToolbar>(
            QList<KestuFooterAction> {
                { QStringLiteral("gearshape"), QStringLiteral("Settings"), {}, Qt::NoModifier, {}, {} },
                { QStringLiteral("questionmark.circle"), QStringLiteral("Help"), {}, Qt::NoModifier, {}, {} } },
            QList<KestuFooterAction> {
                { QStringLiteral("power"), QStringLiteral("Quit"), {}, Qt::NoModifier, {}, {} } });
        // The first button hovered, to show its fill.
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(bar->buttons().first(), &enter);
        return bar;
    });
    auto name = std::make_shared<QString>(QStringLiteral("Deep focus"));
    written += render(QStringLiteral("inline-edit-label"), QSize(220, 30), [name] {
        return std::make_unique<KestuInlineEditLabel>(KestuBinding<QString>::of(name), Font::body(),
            KestuInlineEditLabel::PencilVisibility::always, false, std::function<void()>());
    });
    written += render(QStringLiteral("inline-edit-label-editing"), QSize(220, 30), [name] {
        auto label = std::make_unique<KestuInlineEditLabel>(KestuBinding<QString>::of(name), Font::body(),
            KestuInlineEditLabel::PencilVisibility::always, false, std::function<void()>());
        label->pencil()->click();
        return label;
    });
    written += render(QStringLiteral("about-view"), QSize(420, 560), [] {
        qApp->setProperty("CFBundleShortVersionString", QStringLiteral("1.4.2"));
        qApp->setProperty("CFBundleVersion", QStringLiteral("88"));
        QPixmap icon(192, 192);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(60, 120, 220));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(8, 8, 176, 176), 40, 40);
        painter.end();
        return std::make_unique<KestuAboutView>(QStringLiteral("Tremlor"),
            QStringLiteral("Keeps your computer awake and your status active by moving the pointer now and then, "
                           "so long meetings and downloads are never cut short."),
            QIcon(icon));
    });
    qApp->setProperty("CFBundleShortVersionString", QVariant());
    qApp->setProperty("CFBundleVersion", QVariant());
    written += render(QStringLiteral("animated-gradient"), QSize(240, 160), [] {
        return std::make_unique<KestuAnimatedGradient>(
            QList<QColor> { QColor(255, 94, 98), QColor(255, 195, 113), QColor(90, 140, 255) }, 4.0);
    });
    written += render(QStringLiteral("onboarding-welcome"), QSize(540, 360), [] {
        return std::make_unique<KestuOnboardingWelcomeView>(QStringLiteral("Tremlor"), QStringLiteral("bolt"),
            QStringLiteral("Keeps your computer awake and your status active.\nQuietly, from the tray."),
            QList<QColor> { QColor(255, 94, 98), QColor(90, 140, 255) });
    });
    written += render(QStringLiteral("onboarding-features"), QSize(540, 360), [] {
        return std::make_unique<KestuOnboardingFeatureGrid>(QStringLiteral("What Tremlor does"), sixFeatures());
    });
    written += render(QStringLiteral("onboarding-complete"), QSize(540, 360), [] {
        return std::make_unique<KestuOnboardingCompleteView>(
            QStringLiteral("Tremlor"), QStringLiteral("Find Tremlor in the tray.\nClick its icon to start."));
    });
    for (int step : { 0, 1, 3 }) {
        written += render(QStringLiteral("onboarding-shell-step%1").arg(step), QSize(540, 420), [step] {
            auto shell = std::make_unique<KestuOnboardingShell>(4, std::function<void()>(), [](int page) -> QWidget* {
                if (page == 0)
                    return new KestuOnboardingWelcomeView(QStringLiteral("Tremlor"), QStringLiteral("bolt"),
                        QStringLiteral("Keeps your computer awake."), std::nullopt);
                if (page == 1)
                    return new KestuOnboardingFeatureGrid(QStringLiteral("What Tremlor does"), sixFeatures());
                if (page == 2)
                    return new QWidget;
                return new KestuOnboardingCompleteView(
                    QStringLiteral("Tremlor"), QStringLiteral("Find Tremlor in the tray."));
            });
            for (int i = 0; i < step; ++i)
                shell->findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
            return shell;
        });
    }
    EXPECT_EQ(written, 2 * 11);
}

TEST_F(CompositeRenders, MomentsOfTheEntrances)
{
    setReducedMotionOverride(false);
    int written = 0;
    written += render(QStringLiteral("onboarding-features-entering"), QSize(540, 360), [] {
        auto grid = std::make_unique<KestuOnboardingFeatureGrid>(QStringLiteral("What Tremlor does"), sixFeatures());
        grid->show();
        for (int i = 0; i < grid->cardCount(); ++i)
            grid->cardEntrance(i)->setCurrentTime(200);
        return grid;
    });
    written += render(QStringLiteral("onboarding-shell-sliding"), QSize(540, 420), [] {
        auto shell = std::make_unique<KestuOnboardingShell>(2, std::function<void()>(), [](int page) -> QWidget* {
            if (page == 0)
                return new KestuOnboardingWelcomeView(
                    QStringLiteral("Tremlor"), QStringLiteral("bolt"), QStringLiteral("Hello."), std::nullopt);
            return new KestuOnboardingCompleteView(QStringLiteral("Tremlor"), QStringLiteral("Done."));
        });
        shell->show();
        shell->findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
        auto* slide = shell->findChild<QVariantAnimation*>(QStringLiteral("onboarding-page-transition"));
        slide->setCurrentTime(slide->duration() / 6);
        return shell;
    });
    written += render(QStringLiteral("animated-gradient-half"), QSize(240, 160), [] {
        auto gradient
            = std::make_unique<KestuAnimatedGradient>(QList<QColor> { QColor(255, 94, 98), QColor(90, 140, 255) }, 4.0);
        gradient->show();
        gradient->findChild<QVariantAnimation*>(QStringLiteral("gradient-swing"))->setCurrentTime(2000);
        return gradient;
    });
    EXPECT_EQ(written, 2 * 3);
}
