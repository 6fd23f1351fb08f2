#include "Views/Settings/SettingsSectionView.h"

#include "Views/Settings/AboutSettingsView.h"
#include "Views/Settings/AdvancedSettingsView.h"
#include "Views/Settings/AppsSettingsView.h"
#include "Views/Settings/GeneralSettingsView.h"
#include "Views/Settings/MouseSettingsView.h"
#include "Views/Settings/ProfilesSettingsView.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/TimerSettingsView.h"

#include <QWidget>

namespace tremlor {

QWidget* makeSettingsSectionView(SettingsSection section, SettingsContext& context, QWidget* parent)
{
    QWidget* view = nullptr;
    switch (section) {
    case SettingsSection::general:
        view = new GeneralSettingsView(context, parent);
        break;
    case SettingsSection::mouse:
        view = new MouseSettingsView(context, parent);
        break;
    case SettingsSection::apps:
        view = new AppsSettingsView(context, parent);
        break;
    case SettingsSection::timer:
        view = new TimerSettingsView(context, parent);
        break;
    case SettingsSection::profiles:
        view = new ProfilesSettingsView(context, parent);
        break;
    case SettingsSection::schedule:
        view = new ScheduleSettingsView(context, parent);
        break;
    case SettingsSection::advanced:
        view = new AdvancedSettingsView(context, AdvancedSettingsView::defaultPollInterval, parent);
        break;
    case SettingsSection::about:
        view = new AboutSettingsView(context, parent);
        break;
    }
    if (!view)
        view = new QWidget(parent);
    return view;
}

} // namespace tremlor
