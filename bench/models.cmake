# The settings model: scalar reads and the JSON coding of profile lists.
tremlor_add_bench(bench_settings_read SettingsReadBench.cpp)
target_link_libraries(bench_settings_read PRIVATE tremlor_core)
tremlor_add_bench(bench_profile_coding ProfileCodingBench.cpp)
target_link_libraries(bench_profile_coding PRIVATE tremlor_core)
