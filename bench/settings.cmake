# The settings window: selecting each section, and filtering 1,000 applications per keystroke.
tremlor_add_bench(bench_settings_window views/SettingsWindowBench.cpp)
target_link_libraries(bench_settings_window PRIVATE tremlor_views)
kestu_bundle_next_to(bench_settings_window)
