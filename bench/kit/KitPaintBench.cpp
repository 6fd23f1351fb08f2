// Paints a 320-point-wide panel holding one of each of the kit's controls into an image, the
// way a redraw of the whole panel would, and reports the time per full paint.
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
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <memory>

using namespace kestu;

namespace {
template <typename T> KestuBinding<T> held(T value)
{
    return KestuBinding<T>::of(std::make_shared<T>(std::move(value)));
}

std::unique_ptr<QWidget> makePanel()
{
    auto panel = std::make_unique<QWidget>();
    panel->setAutoFillBackground(true);
    auto* v = new QVBoxLayout(panel.get());
    v->setContentsMargins(12, 12, 12, 12);
    v->setSpacing(8);
    v->addWidget(new KestuSectionHeader("Session", QString("magnifyingglass")));
    v->addWidget(
        new KestuButton("Start Session", QString("checkmark.circle.fill"), KestuButtonVariant::primary, nullptr));
    v->addWidget(new KestuButton("Settings", std::nullopt, KestuButtonVariant::secondary, nullptr));
    v->addWidget(new KestuSlider(held(30.0), 1, 300, 1, "s", 0, std::nullopt));
    v->addWidget(new KestuSlider(held(10.0), 1, 50, 1, "px", 0, std::nullopt));
    v->addWidget(new KestuToggleStyle("Launch at login", held(true)));
    v->addWidget(new KestuToggleStyle("Play sounds", held(false)));
    auto* row = new QLabel("Hovered row");
    kestuHoverEffect(row);
    v->addWidget(row);
    auto* content = new QLabel("Inside a card");
    content->setContentsMargins(12, 12, 12, 12);
    v->addWidget(new KestuCard(true, content));
    v->addWidget(new KestuSearchField(held(QString("Safari")), "Search apps"));
    v->addWidget(new KestuSettingsSearchField(held(QString("sound")), "Search settings"));
    v->addWidget(new KestuTextField(
        "Name", held(QString("Deep Work")), std::nullopt, Qt::AlignLeft, true, false, false, nullptr, nullptr));
    v->addWidget(new KestuEmptyState("magnifyingglass", "No Matching Apps", "Try another search."));
    panel->setFixedWidth(320);
    panel->adjustSize();
    return panel;
}

void BM_PaintPanel(benchmark::State& state)
{
    const auto panel = makePanel();
    QImage target(panel->size(), QImage::Format_ARGB32_Premultiplied);
    panel->render(&target); // first paint builds tokens and symbol pixmaps
    for (auto _ : state) {
        panel->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["height_pt"] = panel->height();
}
BENCHMARK(BM_PaintPanel)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setReducedMotionOverride(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
