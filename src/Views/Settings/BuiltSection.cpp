#include "Views/Settings/BuiltSection.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "Views/Settings/AboutSettingsView.h"
#include "Views/Settings/AdvancedSettingsView.h"
#include "Views/Settings/AppChecklistView.h"
#include "Views/Settings/AppsSettingsView.h"
#include "Views/Settings/GeneralSettingsView.h"
#include "Views/Settings/MouseSettingsView.h"
#include "Views/Settings/ProfilesSettingsView.h"
#include "Views/Settings/ScheduleSettingsView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/TimerSettingsView.h"

#include <QWidget>

namespace tremlor {

BuiltSection buildSection(SettingsSection section, SettingsContext& context, bool takesKeyboard, QWidget* parent)
{
    QWidget* view = nullptr;
    QWidget* field = nullptr;
    switch (section) {
    case SettingsSection::general:
        view = new GeneralSettingsView(context, parent);
        break;
    case SettingsSection::mouse:
        view = new MouseSettingsView(context, parent);
        break;
    case SettingsSection::apps: {
        auto* apps = new AppsSettingsView(context, parent, takesKeyboard);
        field = apps->checklist()->searchField();
        view = apps;
        break;
    }
    case SettingsSection::timer: {
        auto* timer = new TimerSettingsView(context, parent, takesKeyboard);
        field = timer->minutesField();
        view = timer;
        break;
    }
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
    return { view, field };
}

} // namespace tremlor
