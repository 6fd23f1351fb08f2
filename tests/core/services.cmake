# Countdown, caffeine pair and the sound file.
target_sources(tremlor_core_tests PRIVATE
  core/CaffeineTest.cpp
  core/DurationTimerTest.cpp
  core/SoundTest.cpp
)
target_compile_definitions(tremlor_core_tests PRIVATE TREMLOR_TEST_SOUNDS_DIR="${CMAKE_BINARY_DIR}/sounds")
