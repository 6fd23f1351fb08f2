# Whole-engine latencies and memory on a private desktop (the tests' TestDesktop, built in).
tremlor_add_bench(bench_engine EngineBench.cpp ${PROJECT_SOURCE_DIR}/tests/support/TestDesktop.cpp)
target_include_directories(bench_engine PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_engine PRIVATE tremlor_core Qt6::Widgets Qt6::DBus X11::X11)
