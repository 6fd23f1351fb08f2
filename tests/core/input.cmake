# Mouse mover, natural pattern and idle monitor against fakes (no X server).
target_sources(tremlor_core_tests PRIVATE
  core/InputFakes.h
  core/MouseMovingMock.h
  core/MouseMoverTest.cpp
  core/IdleMonitorTest.cpp
  core/NaturalMovementTest.cpp
)
