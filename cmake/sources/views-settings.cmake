# The settings views.
target_sources(tremlor_views PRIVATE
  src/Views/Settings/SettingsContext.h
  # The window root, its sidebar and the section factory.
  src/Views/Settings/SettingsSectionView.cpp
  src/Views/Settings/SettingsSectionView.h
  src/Views/Settings/SettingsSidebar.cpp
  src/Views/Settings/SettingsSidebar.h
  src/Views/Settings/SettingsSidebarRow.cpp
  src/Views/Settings/SettingsSidebarRow.h
  src/Views/Settings/SettingsWindow.cpp
  src/Views/Settings/SettingsWindow.h
  # General, Mouse, Apps (with its checklist), Timer and About.
  src/Views/Settings/AboutSettingsView.cpp
  src/Views/Settings/AboutSettingsView.h
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
  # The settings file.
  src/Views/Settings/TremlorSettingsDocument.cpp
  src/Views/Settings/TremlorSettingsDocument.h
)
