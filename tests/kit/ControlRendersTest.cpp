#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuHoverEffect.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSectionHeader.h"
#include "KestuDesign/Components/KestuSettingsSearchField.h"
#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "KitTestSupport.h"

#include <QDir>
#include <QLabel>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <functional>
#include <memory>

using namespace kestu;
using namespace kittest;

namespace {
// Builds one control into a 320-point panel and returns it.
using Builder = std::function<QWidget*(QWidget* panel)>;

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

const std::vector<std::pair<QString, Builder>>& controls()
{
    static const std::vector<std::pair<QString, Builder>> list {
        { "button",
            [](QWidget*) {
                return column({ new KestuButton("Start Session", QString("checkmark.circle.fill"),
                                    KestuButtonVariant::primary, nullptr),
                    new KestuButton("Open Settings", std::nullopt, KestuButtonVariant::secondary, nullptr),
                    new KestuButton("Stop", QString("xmark.circle.fill"), KestuButtonVariant::destructive, nullptr) });
            } },
        { "card",
            [](QWidget*) {
                return column({ card(false), card(true) });
            } },
        { "empty-state",
            [](QWidget*) -> QWidget* {
                return new KestuEmptyState("magnifyingglass", "No Matching Apps",
                    "Try a different search term or add apps from the list below.");
            } },
        { "hover", [](QWidget*) { return hoveredRow(); } },
        { "toggle",
            [](QWidget*) {
                return column({ new KestuToggleStyle("Launch at login", held(true)),
                    new KestuToggleStyle("Play sounds", held(false)) });
            } },
        { "section-header",
            [](QWidget*) {
                return column({ new KestuSectionHeader("Search", QString("magnifyingglass")),
                    new KestuSectionHeader("General", std::nullopt) });
            } },
        { "text-field",
            [](QWidget*) {
                return column({ field("Name", "Deep Work", std::nullopt, false), field("Name", "", std::nullopt, false),
                    field("", "45", monospacedSystemFont(13, QFont::Medium), true) });
            } },
        { "slider",
            [](QWidget*) {
                return column({ new KestuSlider(held(30.0), 1, 300, 1, "s", 0, std::nullopt),
                    new KestuSlider(held(1.0), 1, 50, 1, "px", 0, QColor(255, 120, 40)),
                    new KestuSlider(held(2.5), 0, 10, 0.5, "s", 2, std::nullopt) });
            } },
        { "search-field",
            [](QWidget*) {
                return column({ new KestuSearchField(held(QString("Safari")), "Search apps"),
                    new KestuSearchField(held(QString()), "Search apps"),
                    new KestuSettingsSearchField(held(QString("sound")), "Search settings"),
                    new KestuSettingsSearchField(held(QString()), "Search settings") });
            } },
    };
    return list;
}
} // namespace

TEST(ControlRenders, EachControlInLightAndDark)
{
    const MotionOverride motion(true);
    const QString folder = QStringLiteral(KESTU_CONTROL_RENDER_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto& [name, build] : controls()) {
        QImage images[2];
        for (const bool dark : { false, true }) {
            QWidget panel;
            panel.setPalette(dark ? darkPalette() : lightPalette());
            panel.setAutoFillBackground(true);
            auto* layout = new QVBoxLayout(&panel);
            layout->setContentsMargins(12, 12, 12, 12);
            layout->addWidget(build(&panel));
            panel.setFixedWidth(320);
            panel.show();
            QCoreApplication::processEvents();
            panel.adjustSize();
            images[dark] = panel.grab().toImage();
            const QString file
                = QDir(folder).filePath(QStringLiteral("controls-%1-%2.png").arg(name, dark ? "dark" : "light"));
            EXPECT_TRUE(images[dark].save(file)) << file.toStdString();
        }
        expectRendered(images[0], images[1], QSize(320, images[0].height()), name);
    }
}
