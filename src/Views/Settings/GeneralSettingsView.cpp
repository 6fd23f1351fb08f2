#include "Views/Settings/GeneralSettingsView.h"

#include "KestuDesign/Components/KestuToggleStyle.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/SettingBinding.h"

#include <QVBoxLayout>

#include <exception>

namespace tremlor {

namespace {
QString modeLabel(MenuBarDisplayMode mode)
{
    switch (mode) {
    case MenuBarDisplayMode::iconOnly:
        return QObject::tr("Icon Only");
    case MenuBarDisplayMode::iconAndCountdown:
        return QObject::tr("Icon + Countdown");
    case MenuBarDisplayMode::iconAndAppName:
        return QObject::tr("Icon + App Name");
    }
    return {};
}
} // namespace

GeneralSettingsView::GeneralSettingsView(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("general-settings"));
    setAccessibleName(tr("General"));
    TremlorSettings& settings = context.settings;
    auto* form = new GroupedForm(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);

    GroupedFormSection* startup = form->addSection(tr("Startup"), QStringLiteral("general-startup"));
    m_loginToggle = startup->addToggle(tr("Launch at Login"), QStringLiteral("launch-at-login-toggle"),
        { [this] { return m_launchAtLoginEnabled; }, [this](const bool& value) { changeLoginItem(value); } });
    auto* dock = startup->addToggle(tr("Show in Dock"), QStringLiteral("show-in-dock-toggle"),
        { [&settings] { return settings.showInDock(); },
            [&settings](const bool& value) { settings.setShowInDock(value); } });
    watch(
        dock, &settings, [dock] { dock->refresh(); }, &TremlorSettings::showInDockChanged);

    GroupedFormSection* menuBar = form->addSection(tr("Menu Bar"), QStringLiteral("general-menu-bar"));
    auto* picker = new FormPicker;
    picker->setObjectName(QStringLiteral("display-mode-picker"));
    for (MenuBarDisplayMode mode : allCases<MenuBarDisplayMode>())
        picker->addItem(modeLabel(mode), rawValue(mode));
    menuBar->addRow(tr("Display Mode"), picker);
    connect(picker, &FormPicker::chosen, this, [&settings](const QVariant& tag) {
        if (const auto mode = fromRawValue<MenuBarDisplayMode>(tag.toString()))
            settings.setMenuBarDisplayMode(*mode);
    });
    watch(
        picker, &settings, [picker, &settings] { picker->showValue(rawValue(settings.menuBarDisplayMode())); },
        &TremlorSettings::menuBarDisplayModeChanged);

    GroupedFormSection* sound = form->addSection(tr("Sound"), QStringLiteral("general-sound"));
    auto* playSound = sound->addToggle(tr("Play sound on start/stop"), QStringLiteral("play-sound-toggle"),
        { [&settings] { return settings.playSoundOnToggle(); },
            [&settings](const bool& value) { settings.setPlaySoundOnToggle(value); } });
    watch(
        playSound, &settings, [playSound] { playSound->refresh(); }, &TremlorSettings::playSoundOnToggleChanged);

    refreshLoginItem();
}

GeneralSettingsView::~GeneralSettingsView()
{
    // The controls' bindings read this widget's members: they go first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void GeneralSettingsView::changeLoginItem(bool enabled)
{
    try {
        m_context.loginItem.setEnabled(enabled);
        m_launchAtLoginEnabled = enabled;
    } catch (const std::exception&) {
        // A failed change shows only as the toggle returning to the real state.
        m_launchAtLoginEnabled = m_context.loginItem.isEnabled();
    }
    // Redraws from the mirror; refresh() never calls back into this setter.
    m_loginToggle->refresh();
}

void GeneralSettingsView::refreshLoginItem()
{
    m_launchAtLoginEnabled = m_context.loginItem.isEnabled();
    if (m_loginToggle)
        m_loginToggle->refresh();
}

void GeneralSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshLoginItem();
}

} // namespace tremlor
