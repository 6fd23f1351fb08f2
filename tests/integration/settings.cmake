# The settings window's file dialogs (Qt's own, not the platform's) and the window under openbox, for real.
add_executable(tremlor_views_integration_tests)
target_link_libraries(tremlor_views_integration_tests PRIVATE tremlor_app PkgConfig::KESTU_XCB)
kestu_bundle_next_to(tremlor_views_integration_tests)
target_sources(tremlor_views_integration_tests PRIVATE
  integration/settings/SettingsFileDialogTest.cpp
  integration/settings/SettingsWindowDesktopTest.cpp
)
tremlor_add_test_executable(tremlor_views_integration_tests integration)
