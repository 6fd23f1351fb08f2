#include "Views/Settings/MouseSettingsView.h"

#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "Models/SettingDefaults.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/SettingBinding.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr int sliderWidth = 260;

struct SliderRange {
    double lower;
    double upper;
    double step;
    const char* suffix;
};

kestu::KestuSlider* makeSlider(
    const SliderRange& range, kestu::KestuBinding<double> value, const QString& name, const QString& label)
{
    auto* slider = new kestu::KestuSlider(
        std::move(value), range.lower, range.upper, range.step, QString::fromLatin1(range.suffix), 0, std::nullopt);
    slider->setObjectName(name);
    slider->setName(label);
    slider->setMaximumWidth(sliderWidth);
    slider->setMinimumWidth(sliderWidth - 40);
    slider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return slider;
}
} // namespace

QString MouseSettingsView::displayName(MovementPattern pattern)
{
    switch (pattern) {
    case MovementPattern::bounce:
        return tr("Bounce");
    case MovementPattern::drift:
        return tr("Drift");
    case MovementPattern::circle:
        return tr("Circle");
    case MovementPattern::natural:
        return tr("Natural");
    }
    return {};
}

QString MouseSettingsView::description(MovementPattern pattern)
{
    switch (pattern) {
    case MovementPattern::bounce:
        return tr("Move and return to original position");
    case MovementPattern::drift:
        return tr("Small random walk");
    case MovementPattern::circle:
        return tr("Tiny circular arc");
    case MovementPattern::natural:
        return tr("Human-like activity with mouse, keyboard, and clicks");
    }
    return {};
}

QString MouseSettingsView::icon(MovementPattern pattern)
{
    switch (pattern) {
    case MovementPattern::bounce:
        return QStringLiteral("arrow.uturn.left.circle");
    case MovementPattern::drift:
        return QStringLiteral("point.topleft.down.to.point.bottomright.curvepath");
    case MovementPattern::circle:
        return QStringLiteral("circle.dotted");
    case MovementPattern::natural:
        return QStringLiteral("hand.raised.fingers.spread");
    }
    return {};
}

MouseSettingsView::MouseSettingsView(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("mouse-settings"));
    setAccessibleName(tr("Mouse"));
    TremlorSettings& s = context.settings;
    auto* form = new GroupedForm(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);

    // Sliders only show the stored value (even one off their grid); only a drag or a typed
    // value writes.
    auto* interval = makeSlider({ defaults::shortestInterval, defaults::longestInterval, 1, "s" },
        { [&s] { return s.maxInterval(); }, [&s](const double& v) { s.setMaxInterval(v); } },
        QStringLiteral("interval-slider"), tr("Move every"));
    form->addSection(tr("Interval"), QStringLiteral("mouse-interval"))->addRow(tr("Move every"), interval);
    watch(
        interval, &s, [interval] { interval->refresh(); }, &TremlorSettings::maxIntervalChanged);

    auto* distance = makeSlider({ defaults::shortestDistance, defaults::longestDistance, 1, "px" },
        { [&s] { return s.jiggleDistance(); }, [&s](const double& v) { s.setJiggleDistance(v); } },
        QStringLiteral("distance-slider"), tr("Jiggle distance"));
    form->addSection(tr("Distance"), QStringLiteral("mouse-distance"))->addRow(tr("Jiggle distance"), distance);
    watch(
        distance, &s, [distance] { distance->refresh(); }, &TremlorSettings::jiggleDistanceChanged);

    GroupedFormSection* pattern = form->addSection(tr("Movement Pattern"), QStringLiteral("mouse-pattern"));
    auto* picker = new FormPicker;
    picker->setObjectName(QStringLiteral("pattern-picker"));
    for (MovementPattern p : allCases<MovementPattern>())
        picker->addItem(displayName(p), rawValue(p), icon(p));
    pattern->addRow(tr("Pattern"), picker);
    QLabel* caption = pattern->addCaption(QString(), QStringLiteral("pattern-description"));
    connect(picker, &FormPicker::chosen, this, [&s](const QVariant& tag) {
        if (const auto p = fromRawValue<MovementPattern>(tag.toString()))
            s.setMovementPattern(*p);
    });
    watch(
        picker, &s,
        [picker, caption, &s] {
            picker->showValue(rawValue(s.movementPattern()));
            caption->setText(description(s.movementPattern()));
            caption->setAccessibleName(caption->text());
        },
        &TremlorSettings::movementPatternChanged);

    GroupedFormSection* input = form->addSection(tr("Input Simulation"), QStringLiteral("mouse-input"));
    auto* keyboard = input->addToggle(tr("Simulate keyboard activity"), QStringLiteral("simulate-keyboard-toggle"),
        { [&s] { return s.simulateKeyboard(); }, [&s](const bool& v) { s.setSimulateKeyboard(v); } });
    input->addCaption(tr("Sends inert key presses (Shift, F15) to register as keyboard activity."),
        QStringLiteral("simulate-keyboard-caption"));
    auto* clicks = input->addToggle(tr("Simulate mouse clicks"), QStringLiteral("simulate-clicks-toggle"),
        { [&s] { return s.simulateClicks(); }, [&s](const bool& v) { s.setSimulateClicks(v); } });
    input->addCaption(
        tr("Occasionally clicks at the current cursor position."), QStringLiteral("simulate-clicks-caption"));
    watch(
        keyboard, &s, [keyboard] { keyboard->refresh(); }, &TremlorSettings::simulateKeyboardChanged);
    watch(
        clicks, &s, [clicks] { clicks->refresh(); }, &TremlorSettings::simulateClicksChanged);

    GroupedFormSection* idle = form->addSection(tr("Smart Idle Detection"), QStringLiteral("mouse-smart-idle"));
    auto* enabled = idle->addToggle(tr("Enabled"), QStringLiteral("smart-idle-toggle"),
        { [&s] { return s.smartIdleEnabled(); }, [&s](const bool& v) { s.setSmartIdleEnabled(v); } });
    auto* threshold = makeSlider({ 10, 120, 5, "s" },
        { [&s] { return s.idleThreshold(); }, [&s](const double& v) { s.setIdleThreshold(v); } },
        QStringLiteral("idle-threshold-slider"), tr("Idle threshold"));
    QWidget* thresholdRow = idle->addRow(tr("Idle threshold"), threshold);
    watch(
        threshold, &s, [threshold] { threshold->refresh(); }, &TremlorSettings::idleThresholdChanged);
    watch(
        enabled, &s,
        [enabled, idle, thresholdRow, &s] {
            enabled->refresh();
            idle->setRowVisible(thresholdRow, s.smartIdleEnabled());
        },
        &TremlorSettings::smartIdleEnabledChanged);
}

} // namespace tremlor
