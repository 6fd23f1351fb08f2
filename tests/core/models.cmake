target_sources(tremlor_core_tests PRIVATE
  core/BadInputTest.cpp
  core/DurationTest.cpp
  core/JsonTest.cpp
  core/ProfileTest.cpp
  core/ScheduleEntryTest.cpp
  core/SettingsTest.cpp
  core/TempDefaults.h
  core/UserDefaultsTest.cpp
)
