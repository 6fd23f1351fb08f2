# The settings window's file dialogs, driven for real (Qt's own dialog, not the platform's).
add_executable(tremlor_views_integration_tests)
target_link_libraries(tremlor_views_integration_tests PRIVATE tremlor_views)
kestu_bundle_next_to(tremlor_views_integration_tests)
target_sources(tremlor_views_integration_tests PRIVATE
  integration/settings/SettingsFileDialogTest.cpp
)
tremlor_add_test_executable(tremlor_views_integration_tests integration)
