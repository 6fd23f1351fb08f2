# The whole program on a private desktop: memory, idle wake-ups, Activate-to-panel latency.
add_executable(bench_app AppBench.cpp ${PROJECT_SOURCE_DIR}/tests/support/TestDesktop.cpp)
target_include_directories(bench_app PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_app PRIVATE tremlor_core Qt6::DBus X11::X11)
target_compile_options(bench_app PRIVATE ${TREMLOR_WARNINGS})
target_compile_definitions(bench_app PRIVATE TREMLOR_EXECUTABLE="$<TARGET_FILE:tremlor>")
add_dependencies(bench_app tremlor)
