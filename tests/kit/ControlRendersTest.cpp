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

const std::vector<std::pair<QString, Builder>>& controls()
{
    static const std::vector<std::pair<QString, Builder>> list {
        { "button",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->setSpacing(8);
                v->addWidget(new KestuButton(
                    "Start Session", QString("checkmark.circle.fill"), KestuButtonVariant::primary, nullptr));
                v->addWidget(new KestuButton("Open Settings", std::nullopt, KestuButtonVariant::secondary, nullptr));
                v->addWidget(
                    new KestuButton("Stop", QString("xmark.circle.fill"), KestuButtonVariant::destructive, nullptr));
                return box;
            } },
        { "card",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->setSpacing(8);
                for (bool border : { false, true }) {
                    auto* content = new QWidget;
                    auto* inner = new QVBoxLayout(content);
                    inner->setContentsMargins(12, 12, 12, 12);
                    inner->addWidget(text(border ? "Card with a hairline border" : "Card without border"));
                    v->addWidget(new KestuCard(border, content));
                }
                return box;
            } },
        { "empty-state",
            [](QWidget*) {
                return new KestuEmptyState("magnifyingglass", "No Matching Apps",
                    "Try a different search term or add apps from the list below.");
            } },
        { "hover",
            [](QWidget*) {
                auto* row = new QWidget;
                auto* h = new QVBoxLayout(row);
                h->setContentsMargins(8, 6, 8, 6);
                h->addWidget(text("A row under the pointer"));
                auto* effect = kestuHoverEffect(row);
                QEvent enter(QEvent::Enter);
                QApplication::sendEvent(row, &enter);
                effect->animation()->setCurrentTime(effect->animation()->duration());
                return row;
            } },
        { "toggle",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->addWidget(new KestuToggleStyle("Launch at login", held(true)));
                v->addWidget(new KestuToggleStyle("Play sounds", held(false)));
                return box;
            } },
        { "section-header",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->addWidget(new KestuSectionHeader("Search", QString("magnifyingglass")));
                v->addWidget(new KestuSectionHeader("General", std::nullopt));
                return box;
            } },
        { "text-field",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->addWidget(new KestuTextField("Name", held(QString("Deep Work")), std::nullopt, Qt::AlignLeft, true,
                    false, false, nullptr, nullptr));
                v->addWidget(new KestuTextField(
                    "Name", held(QString()), std::nullopt, Qt::AlignLeft, false, false, false, nullptr, nullptr));
                v->addWidget(new KestuTextField("", held(QString("45")), monospacedSystemFont(13, QFont::Medium),
                    Qt::AlignCenter, false, true, false, nullptr, nullptr));
                return box;
            } },
        { "slider",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->addWidget(new KestuSlider(held(30.0), 1, 300, 1, "s", 0, std::nullopt));
                v->addWidget(new KestuSlider(held(1.0), 1, 50, 1, "px", 0, QColor(255, 120, 40)));
                v->addWidget(new KestuSlider(held(2.5), 0, 10, 0.5, "s", 2, std::nullopt));
                return box;
            } },
        { "search-field",
            [](QWidget*) {
                auto* box = new QWidget;
                auto* v = new QVBoxLayout(box);
                v->setContentsMargins(0, 0, 0, 0);
                v->addWidget(new KestuSearchField(held(QString("Safari")), "Search apps"));
                v->addWidget(new KestuSearchField(held(QString()), "Search apps"));
                v->addWidget(new KestuSettingsSearchField(held(QString("sound")), "Search settings"));
                v->addWidget(new KestuSettingsSearchField(held(QString()), "Search settings"));
                return box;
            } },
    };
    return list;
}
} // namespace

TEST(ControlRenders, EachControlInLightAndDark)
{
    setReducedMotionOverride(true);
    const QString folder = QStringLiteral(KESTU_CONTROL_RENDER_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto& [name, build] : controls()) {
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
            const QString file
                = QDir(folder).filePath(QStringLiteral("controls-%1-%2.png")
                                            .arg(name, dark ? QStringLiteral("dark") : QStringLiteral("light")));
            const QImage image = panel.grab().toImage();
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            // Something besides the background was drawn.
            const QColor background = image.pixelColor(2, 2);
            int drawn = 0;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2)
                    drawn += near(image.pixelColor(x, y), background, 2) ? 0 : 1;
            EXPECT_GT(drawn, 20) << file.toStdString();
        }
    }
    setReducedMotionOverride(std::nullopt);
}
