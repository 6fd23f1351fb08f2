# Applications: desktop entries, the scanner, the record, the activator and the schedule.
target_sources(tremlor_core_tests PRIVATE
  core/apps/AppActivatorTest.cpp
  core/apps/AppListProviderTest.cpp
  core/apps/DesktopEntryTest.cpp
  core/apps/ScheduleManagerTest.cpp
)
