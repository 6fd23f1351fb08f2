# System services: countdown, caffeine (sleep inhibits), accessibility, login item,
# notifications and sound.
target_sources(tremlor_core PRIVATE
  src/Engine/CaffeineManager.cpp
  src/Engine/CaffeineManager.h
  src/Engine/CaffeineManaging.h
  src/Engine/DurationTimer.cpp
  src/Engine/DurationTimer.h
  src/Engine/DurationTimerProtocol.h
  src/Engine/TickSource.cpp
  src/Engine/TickSource.h
  src/Helpers/AccessibilityChecking.h
  src/Helpers/AccessibilityHelper.cpp
  src/Helpers/AccessibilityHelper.h
  src/Helpers/LaunchAtLogin.cpp
  src/Helpers/LaunchAtLogin.h
  src/Helpers/LoginItemManaging.h
  src/Platform/SleepPreventing.h
  src/Platform/DBus/BusLink.cpp
  src/Platform/DBus/BusLink.h
  src/Platform/DBus/BusPowerAssertion.cpp
  src/Platform/DBus/BusPowerAssertion.h
  src/Platform/DBus/DBusNotificationCenter.cpp
  src/Platform/DBus/DBusNotificationCenter.h
  src/Platform/DBus/DisplaySleepInhibitor.cpp
  src/Platform/DBus/DisplaySleepInhibitor.h
  src/Platform/DBus/LogindInhibitor.cpp
  src/Platform/DBus/LogindInhibitor.h
  src/Platform/DBus/SystemSleepPreventer.cpp
  src/Platform/DBus/SystemSleepPreventer.h
  src/Platform/NotificationCenter.h
  src/Platform/PowerAssertion.h
  src/Platform/Sound/CanberraSoundPlayer.cpp
  src/Platform/Sound/CanberraSoundPlayer.h
  src/Platform/SoundPlayer.h
  src/Platform/X11/XScreenSaverSuspender.cpp
  src/Platform/X11/XScreenSaverSuspender.h
)

# The "Pop" sound is made by the build: a small generator writes it into sounds/ beside the
# executables (and it is installed with the program).
add_executable(tremlor_make_pop_sound src/Platform/Sound/MakePopSound.cpp)
target_compile_options(tremlor_make_pop_sound PRIVATE ${TREMLOR_WARNINGS})
set(TREMLOR_SOUNDS_DIR ${CMAKE_BINARY_DIR}/sounds)
add_custom_command(
  OUTPUT ${TREMLOR_SOUNDS_DIR}/Pop.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TREMLOR_SOUNDS_DIR}
  COMMAND tremlor_make_pop_sound ${TREMLOR_SOUNDS_DIR}/Pop.wav
  DEPENDS tremlor_make_pop_sound
  COMMENT "Making the Pop sound")
add_custom_target(tremlor_sounds ALL DEPENDS ${TREMLOR_SOUNDS_DIR}/Pop.wav)
add_dependencies(tremlor_core tremlor_sounds)
install(FILES ${TREMLOR_SOUNDS_DIR}/Pop.wav DESTINATION share/tremlor/sounds)
