# The settings window: selecting each section, and filtering 1,000 applications per keystroke.
tremlor_add_bench(bench_settings_window views/SettingsWindowBench.cpp)
target_link_libraries(bench_settings_window PRIVATE tremlor_views)
kestu_bundle_next_to(bench_settings_window)

# The settings window's list sections and its file: building Profiles and Schedule with 1,000
# records each (target: median < 100 ms), export and import of such a file (target: < 50 ms).
tremlor_add_bench(bench_settings_sections settings/SettingsSectionsBench.cpp)
target_link_libraries(bench_settings_sections PRIVATE tremlor_views Qt6::Widgets)
kestu_bundle_next_to(bench_settings_sections)
