# The real program on a private desktop: tray item, single instance, windows, quit.
target_sources(tremlor_integration_tests PRIVATE
  integration/AppDesktop.cpp
  integration/AppDesktop.h
  integration/AppIntegrationTest.cpp
)
add_dependencies(tremlor_integration_tests tremlor)
target_compile_definitions(tremlor_integration_tests PRIVATE TREMLOR_EXECUTABLE="$<TARGET_FILE:tremlor>"
  TREMLOR_TESTS_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
