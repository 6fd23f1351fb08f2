#include "Views/Settings/AppsSettingsView.h"

#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/AppChecklistView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/FormStepper.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/Hairline.h"
#include "Views/Shared/SettingBinding.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr std::int64_t intervalLower = 1;
constexpr std::int64_t intervalUpper = 10;
constexpr int formMaximumHeight = 200;
} // namespace

QString AppsSettingsView::switchLabel(std::int64_t interval)
{
    return tr("Switch every %1 cycle%2").arg(interval).arg(interval == 1 ? QString() : QStringLiteral("s"));
}

AppsSettingsView::AppsSettingsView(SettingsContext& context, QWidget* parent, bool searchTakesKeyboard)
    : QWidget(parent)
    , m_scanner(context.makeAppScanner())
{
    setObjectName(QStringLiteral("apps-settings"));
    setAccessibleName(tr("Apps"));
    TremlorSettings& s = context.settings;
    if (m_scanner)
        m_apps = m_scanner->scanInstalledApps();

    // The checklist runs edge to edge over the pane, a divider under it, the options below.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_checklist = new AppChecklistView(m_apps,
        { [&s] { return s.selectedAppBundleIDs(); }, [&s](const QStringList& ids) { s.setSelectedAppBundleIDs(ids); } },
        true, { [this] { return m_searchText; }, [this](const QString& text) { m_searchText = text; } }, this,
        searchTakesKeyboard);
    layout->addWidget(m_checklist, 1);
    auto* divider = new Hairline(this);
    divider->setObjectName(QStringLiteral("apps-divider"));
    layout->addWidget(divider);
    watch(
        m_checklist, &s, [checklist = m_checklist] { checklist->refresh(); },
        &TremlorSettings::selectedAppBundleIDsChanged);

    auto* form = new GroupedForm(this);
    form->setObjectName(QStringLiteral("apps-options"));
    form->setMaximumHeight(formMaximumHeight);
    const int inset = static_cast<int>(kestu::Space::space20);
    const int gap = static_cast<int>(kestu::Space::space12);
    form->setOuterMargins(inset, gap, inset, gap);
    form->setSectionSpacing(static_cast<int>(kestu::Space::space12));
    GroupedFormSection* launch = form->addSection(QString(), QStringLiteral("apps-launch"));
    auto* launchToggle
        = launch->addToggle(tr("Launch app if not running"), QStringLiteral("launch-if-not-running-toggle"),
            { [&s] { return s.launchIfNotRunning(); }, [&s](const bool& v) { s.setLaunchIfNotRunning(v); } });
    watch(
        launchToggle, &s, [launchToggle] { launchToggle->refresh(); }, &TremlorSettings::launchIfNotRunningChanged);

    GroupedFormSection* rotation = form->addSection(tr("App Rotation"), QStringLiteral("apps-rotation"));
    auto* mode = new FormPicker;
    mode->setObjectName(QStringLiteral("rotation-mode-picker"));
    mode->addItem(
        QStringLiteral("Sequential"), rawValue(RotationMode::sequential), QStringLiteral("arrow.right.arrow.left"));
    mode->addItem(QStringLiteral("Random"), rawValue(RotationMode::random), QStringLiteral("shuffle"));
    rotation->addRow(tr("Rotation Mode"), mode);
    connect(mode, &FormPicker::chosen, this, [&s](const QVariant& tag) {
        if (const auto m = fromRawValue<RotationMode>(tag.toString()))
            s.setRotationMode(*m);
    });
    watch(
        mode, &s, [mode, &s] { mode->showValue(rawValue(s.rotationMode())); }, &TremlorSettings::rotationModeChanged);

    // The stepper shows the stored interval as it is (even one outside 1…10); only a step
    // writes, and a step lands inside the range.
    auto* stepper = new FormStepper(intervalLower, intervalUpper, &AppsSettingsView::switchLabel);
    stepper->setObjectName(QStringLiteral("switch-interval-stepper"));
    stepper->label()->setObjectName(QStringLiteral("switch-interval-label"));
    stepper->decrementButton()->setObjectName(QStringLiteral("switch-interval-decrement"));
    stepper->incrementButton()->setObjectName(QStringLiteral("switch-interval-increment"));
    rotation->addRow(stepper);
    connect(stepper, &FormStepper::chosen, this, [&s](std::int64_t value) { s.setAppSwitchInterval(value); });
    watch(
        stepper, &s, [stepper, &s] { stepper->showValue(s.appSwitchInterval()); },
        &TremlorSettings::appSwitchIntervalChanged);
    layout->addWidget(form);
}

AppsSettingsView::~AppsSettingsView()
{
    // The controls' bindings read this view's members: they go first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

} // namespace tremlor
