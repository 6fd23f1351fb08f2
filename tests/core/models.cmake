target_sources(tremlor_core_tests PRIVATE
  core/DurationTest.cpp
  core/JsonTest.cpp
  core/ProfileTest.cpp
  core/ScheduleEntryTest.cpp
)
