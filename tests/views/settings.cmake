# Tests of the settings views.
target_sources(tremlor_views_tests PRIVATE
  # The window root, its search, and the General, Mouse, Apps, Timer and About sections.
  views/SettingsSectionsTest.cpp
  views/SettingsTestSupport.h
  views/SettingsWindowTest.cpp
  # Profiles, Schedule and Advanced; the settings file's export and import.
  views/AdvancedSettingsViewTest.cpp
  views/ProfilesSettingsViewTest.cpp
  views/ScheduleSettingsViewTest.cpp
  views/SettingsFileTest.cpp
)
