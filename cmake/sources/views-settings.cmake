# The settings views.
target_sources(tremlor_views PRIVATE
  src/Views/Settings/SettingsContext.h
  # The window root, its sidebar and the section factory.
  src/Views/Settings/BuiltSection.cpp
  src/Views/Settings/BuiltSection.h
  src/Views/Settings/SettingsSidebar.cpp
  src/Views/Settings/SettingsSidebar.h
  src/Views/Settings/SettingsSidebarModel.cpp
  src/Views/Settings/SettingsSidebarModel.h
  src/Views/Settings/SettingsWindow.cpp
  src/Views/Settings/SettingsWindow.h
  # General, Mouse, Apps (with its checklist), Timer and About.
  src/Views/Settings/AboutSettingsView.cpp
  src/Views/Settings/AboutSettingsView.h
  src/Views/Settings/AppChecklistList.cpp
  src/Views/Settings/AppChecklistList.h
  src/Views/Settings/AppChecklistModel.cpp
  src/Views/Settings/AppChecklistModel.h
  src/Views/Settings/AppChecklistView.cpp
  src/Views/Settings/AppChecklistView.h
  src/Views/Settings/AppsSettingsView.cpp
  src/Views/Settings/AppsSettingsView.h
  src/Views/Settings/GeneralSettingsView.cpp
  src/Views/Settings/GeneralSettingsView.h
  src/Views/Settings/MouseSettingsView.cpp
  src/Views/Settings/MouseSettingsView.h
  src/Views/Settings/TimerSettingsView.cpp
  src/Views/Settings/TimerSettingsView.h
  # Profiles, Schedule and Advanced, on a keyed list with its bar; the settings file.
  src/Views/Settings/AdvancedSettingsView.cpp
  src/Views/Settings/AdvancedSettingsView.h
  src/Views/Settings/BarButton.cpp
  src/Views/Settings/BarButton.h
  src/Views/Settings/ProfileRow.cpp
  src/Views/Settings/ProfileRow.h
  src/Views/Settings/ProfilesSettingsView.cpp
  src/Views/Settings/ProfilesSettingsView.h
  src/Views/Settings/ScheduleEntryRow.cpp
  src/Views/Settings/ScheduleEntryRow.h
  src/Views/Settings/ScheduleSettingsView.cpp
  src/Views/Settings/ScheduleSettingsView.h
  src/Views/Settings/SectionList.cpp
  src/Views/Settings/SectionList.h
  src/Views/Settings/SectionListAccessible.cpp
  src/Views/Settings/SectionListAccessible.h
  src/Views/Settings/TimeField.cpp
  src/Views/Settings/TimeField.h
  src/Views/Settings/TremlorSettingsDocument.cpp
  src/Views/Settings/TremlorSettingsDocument.h
)
