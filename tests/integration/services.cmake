# Sleep inhibits over D-Bus and X, notifications, accessibility and the autostart entry.
target_sources(tremlor_integration_tests PRIVATE
  integration/DBusMockProbe.h
  integration/LaunchAtLoginTest.cpp
  integration/NotificationTest.cpp
  integration/SleepInhibitTest.cpp
)
