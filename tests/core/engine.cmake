# The session engine with fakes of every service.
target_sources(tremlor_core_tests PRIVATE
  core/EngineFixture.h
  core/EngineTestDoubles.h
  core/TremlorEngineTest.cpp
)
