#include "Views/Settings/SettingsSectionView.h"

#include "Views/Settings/AboutSettingsView.h"
#include "Views/Settings/AppsSettingsView.h"
#include "Views/Settings/GeneralSettingsView.h"
#include "Views/Settings/MouseSettingsView.h"
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
    case SettingsSection::about:
        view = new AboutSettingsView(context, parent);
        break;
    case SettingsSection::profiles:
    case SettingsSection::schedule:
    case SettingsSection::advanced:
        break;
    }
    if (!view)
        view = new QWidget(parent);
    return view;
}

} // namespace tremlor
