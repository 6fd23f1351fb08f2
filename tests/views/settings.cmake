# Tests of the settings views.
target_sources(tremlor_views_tests PRIVATE
  views/SettingsFileTest.cpp
)
