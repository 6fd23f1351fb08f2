# The session engine with fakes of every service, and the profile service.
target_sources(tremlor_core_tests PRIVATE
  core/EngineTestDoubles.h
  core/ProfileManagerTest.cpp
  core/TremlorEngineTest.cpp
)
