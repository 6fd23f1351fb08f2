# The session engine with fakes of every service, and the profile service.
target_sources(tremlor_core_tests PRIVATE
  core/EngineFixture.h
  core/EngineTestDoubles.h
  core/ProfileManagerTest.cpp
  core/TremlorEngineReactionsTest.cpp
  core/TremlorEngineTest.cpp
)
