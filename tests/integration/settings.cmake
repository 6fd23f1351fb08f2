# The settings window's file dialogs, driven for real (Qt's own dialog, not the platform's), and
# the window on a desktop with a window manager.
add_executable(tremlor_views_integration_tests)
target_link_libraries(tremlor_views_integration_tests PRIVATE tremlor_app PkgConfig::KESTU_XCB)
kestu_bundle_next_to(tremlor_views_integration_tests)
target_sources(tremlor_views_integration_tests PRIVATE
  integration/settings/SettingsFileDialogTest.cpp
  integration/settings/SettingsWindowDesktopTest.cpp
)
tremlor_add_test_executable(tremlor_views_integration_tests integration)
