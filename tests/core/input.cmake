# Mouse mover, natural pattern and idle monitor against fakes (no X server).
target_sources(tremlor_core_tests PRIVATE
  core/InputFakes.h
  core/MouseMoverTest.cpp
  core/IdleMonitorTest.cpp
  core/NaturalMovementTest.cpp
)

# The serial queues on their own, in a program without a Qt application or event loop.
add_executable(tremlor_queue_tests core/SerialQueueTest.cpp)
target_link_libraries(tremlor_queue_tests PRIVATE tremlor_core tremlor_test_support tremlor_test_main_plain)
target_compile_options(tremlor_queue_tests PRIVATE ${TREMLOR_WARNINGS})
gtest_discover_tests(tremlor_queue_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit)
