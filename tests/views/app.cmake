# Tests of the application: the tray label, the glyphs, the windows and the onboarding.
target_link_libraries(tremlor_views_tests PRIVATE tremlor_app)
target_sources(tremlor_views_tests PRIVATE
  views/AppWindowsTest.cpp
  views/MenuBarLabelTest.cpp
  views/OnboardingTest.cpp
)
