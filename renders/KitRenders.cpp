#include "KestuDesign/Components/KestuAboutView.h"
#include "KestuDesign/Components/KestuAnimatedGradient.h"
#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuFooterButton.h"
#include "KestuDesign/Components/KestuFooterToolbar.h"
#include "KestuDesign/Components/KestuHoverEffect.h"
#include "KestuDesign/Components/KestuInlineEditLabel.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSectionHeader.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "RenderFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <functional>
#include <memory>

// The kit's controls and composites, the kit's own symbols standing in for the host's.
namespace renders {
namespace {
using namespace kestu;

template <typename T> KestuBinding<T> held(T value)
{
    return KestuBinding<T>::of(std::make_shared<T>(std::move(value)));
}

QLabel* text(const QString& s)
{
    auto* label = new QLabel(s);
    label->setFont(Font::body());
    return label;
}

// Variants of one control, one under the other.
QWidget* column(std::initializer_list<QWidget*> widgets)
{
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(8);
    for (QWidget* w : widgets)
        v->addWidget(w);
    return box;
}

QWidget* card(bool border)
{
    auto* content = new QWidget;
    auto* inner = new QVBoxLayout(content);
    inner->setContentsMargins(12, 12, 12, 12);
    inner->addWidget(text(border ? "Card with a hairline border" : "Card without border"));
    return new KestuCard(border, content);
}

QWidget* hoveredRow()
{
    auto* row = new QWidget;
    auto* h = new QVBoxLayout(row);
    h->setContentsMargins(8, 6, 8, 6);
    h->addWidget(text("A row under the pointer"));
    auto* effect = kestuHoverEffect(row);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(row, &enter);
    effect->animation()->setCurrentTime(effect->animation()->duration());
    return row;
}

KestuTextField* field(const QString& title, const QString& value, std::optional<QFont> font, bool mono)
{
    return new KestuTextField(title, held(value), font, mono ? Qt::AlignCenter : Qt::AlignLeft,
        !value.isEmpty() && !mono, mono, false, nullptr, nullptr);
}

// Each control in its variants, in a 320-point panel.
void renderControls(RenderFolder& folder)
{
    const std::pair<const char*, std::function<QWidget*()>> controls[] = {
        { "button",
            [] {
                return column({ new KestuButton("Start Session", QString("checkmark.circle.fill"),
                                    KestuButtonVariant::primary, nullptr),
                    new KestuButton("Open Settings", std::nullopt, KestuButtonVariant::secondary, nullptr),
                    new KestuButton("Stop", QString("xmark.circle.fill"), KestuButtonVariant::destructive, nullptr) });
            } },
        { "card",
            [] {
                return column({ card(false), card(true) });
            } },
        { "empty-state",
            []() -> QWidget* {
                return new KestuEmptyState("magnifyingglass", "No Matching Apps",
                    "Try a different search term or add apps from the list below.");
            } },
        { "hover", [] { return hoveredRow(); } },
        { "toggle",
            [] {
                return column({ new KestuToggleStyle("Launch at login", held(true)),
                    new KestuToggleStyle("Play sounds", held(false)) });
            } },
        { "section-header",
            [] {
                return column({ new KestuSectionHeader("Search", QString("magnifyingglass")),
                    new KestuSectionHeader("General", std::nullopt) });
            } },
        { "text-field",
            [] {
                return column({ field("Name", "Deep Work", std::nullopt, false), field("Name", "", std::nullopt, false),
                    field("", "45", monospacedSystemFont(13, QFont::Medium), true) });
            } },
        { "slider",
            [] {
                return column({ new KestuSlider(held(30.0), 1, 300, 1, "s", 0, std::nullopt),
                    new KestuSlider(held(1.0), 1, 50, 1, "px", 0, QColor(255, 120, 40)),
                    new KestuSlider(held(2.5), 0, 10, 0.5, "s", 2, std::nullopt) });
            } },
        { "search-field",
            [] {
                return column({ new KestuSearchField(held(QString("Safari")), "Search apps"),
                    new KestuSearchField(held(QString()), "Search apps"),
                    new KestuSettingsSearchField(held(QString("sound")), "Search settings"),
                    new KestuSettingsSearchField(held(QString()), "Search settings") });
            } },
    };
    for (const auto& [name, build] : controls) {
        QWidget panel;
        auto* layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(12, 12, 12, 12);
        layout->addWidget(build());
        panel.setFixedWidth(320);
        panel.show();
        QCoreApplication::processEvents();
        folder.save(panel, QStringLiteral("controls-%1").arg(QLatin1String(name)));
    }
}

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
        return new KestuOnboardingWelcomeView(QStringLiteral("Tremlor"), QStringLiteral("magnifyingglass"),
            QStringLiteral("Keeps your computer awake.\nQuietly, from the tray."),
            QList<QColor> { QColor(255, 94, 98), QColor(90, 140, 255) });
    if (step == 1)
        return new KestuOnboardingFeatureGrid(QStringLiteral("What Tremlor does"), sixFeatures());
    if (step == 2)
        return new QWidget;
    return new KestuOnboardingCompleteView(QStringLiteral("Tremlor"), QStringLiteral("Find Tremlor in the tray."));
}

std::unique_ptr<KestuOnboardingShell> shell()
{
    return std::make_unique<KestuOnboardingShell>(4, std::function<void()>(), page);
}

void clickPrimary(QWidget& shellWidget)
{
    shellWidget.findChild<QAbstractButton*>(QStringLiteral("onboarding-primary"))->click();
}

// Shows `widget` at `size`, lets `prepare` bring it into the moment to draw, and saves it.
void shoot(RenderFolder& folder, const QString& name, QSize size, std::unique_ptr<QWidget> widget,
    const std::function<void(QWidget&)>& prepare = {})
{
    widget->resize(size);
    widget->show();
    if (prepare)
        prepare(*widget);
    folder.save(*widget, name, size);
}

// The composites at rest: motion reduced, so every entrance has ended.
void renderComposites(RenderFolder& folder)
{
    setReducedMotionOverride(true);
    const auto action = [](const char* icon, const char* tip) {
        return KestuFooterAction(QLatin1String(icon), QLatin1String(tip), {}, Qt::NoModifier, {}, {});
    };
    shoot(folder, QStringLiteral("footer-toolbar"), QSize(360, 44),
        std::make_unique<KestuFooterToolbar>(QList { action("pencil", "Rename"), action("magnifyingglass", "Find") },
            QList { action("xmark.circle.fill", "Quit") }),
        [](QWidget& bar) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2)); // the first one hovered
            QCoreApplication::sendEvent(static_cast<KestuFooterToolbar&>(bar).buttons().first(), &enter);
        });
    auto name = std::make_shared<QString>(QStringLiteral("Deep focus"));
    const auto label = [name] {
        return std::make_unique<KestuInlineEditLabel>(KestuBinding<QString>::of(name), Font::body(),
            KestuInlineEditLabel::PencilVisibility::always, false, std::function<void()>());
    };
    shoot(folder, QStringLiteral("inline-edit-label"), QSize(220, 30), label());
    shoot(folder, QStringLiteral("inline-edit-label-editing"), QSize(220, 30), label(),
        [](QWidget& w) { static_cast<KestuInlineEditLabel&>(w).pencil()->click(); });

    QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2"));
    qApp->setProperty("buildNumber", QStringLiteral("88"));
    QPixmap icon(192, 192);
    icon.fill(QColor(60, 120, 220));
    shoot(folder, QStringLiteral("about-view"), QSize(420, 560),
        std::make_unique<KestuAboutView>(QStringLiteral("Tremlor"),
            QStringLiteral("Keeps your computer awake and your status active by moving the pointer now and then, "
                           "so long meetings and downloads are never cut short."),
            QIcon(icon)));
    QCoreApplication::setApplicationVersion(QString());
    qApp->setProperty("buildNumber", QVariant());

    for (int step : { 0, 1, 3 }) {
        shoot(
            folder, QStringLiteral("onboarding-shell-step%1").arg(step), QSize(540, 420), shell(), [step](QWidget& w) {
                for (int i = 0; i < step; ++i)
                    clickPrimary(w);
            });
    }
}

// Moments in the middle of the animations, set by time rather than waited for.
void renderMoments(RenderFolder& folder)
{
    setReducedMotionOverride(false);
    shoot(folder, QStringLiteral("animated-gradient-start"), QSize(240, 160),
        std::make_unique<KestuAnimatedGradient>(
            QList<QColor> { QColor(255, 94, 98), QColor(255, 195, 113), QColor(90, 140, 255) }, 4.0));
    shoot(folder, QStringLiteral("animated-gradient-half"), QSize(240, 160),
        std::make_unique<KestuAnimatedGradient>(QList<QColor> { Qt::red, Qt::blue }, 4.0),
        [](QWidget& w) { w.findChild<QVariantAnimation*>(QStringLiteral("gradient-swing"))->setCurrentTime(2000); });
    shoot(folder, QStringLiteral("onboarding-features-entering"), QSize(540, 360), std::unique_ptr<QWidget>(page(1)),
        [](QWidget& w) {
            auto& grid = static_cast<KestuOnboardingFeatureGrid&>(w);
            for (int i = 0; i < grid.cardCount(); ++i)
                grid.cardEntrance(i)->setCurrentTime(200);
        });
    shoot(folder, QStringLiteral("onboarding-shell-sliding"), QSize(540, 420), shell(), [](QWidget& w) {
        clickPrimary(w);
        auto* slide = w.findChild<QVariantAnimation*>(QStringLiteral("onboarding-page-transition"));
        slide->setCurrentTime(slide->duration() / 8);
    });
    setReducedMotionOverride(std::nullopt);
}
} // namespace

void renderKit(RenderFolder& folder)
{
    setReducedMotionOverride(true);
    renderControls(folder);
    renderComposites(folder);
    renderMoments(folder);
}

} // namespace renders
