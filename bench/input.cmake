# Input simulation and idle detection: the idle check, timer precision, a session's CPU.
tremlor_add_bench(bench_idle_check input/IdleCheckBench.cpp ${PROJECT_SOURCE_DIR}/tests/support/TestDesktop.cpp)
tremlor_add_bench(bench_timer_precision input/TimerPrecisionBench.cpp)
tremlor_add_bench(bench_session_cpu input/SessionCpuBench.cpp ${PROJECT_SOURCE_DIR}/tests/support/TestDesktop.cpp)
foreach(bench bench_idle_check bench_timer_precision bench_session_cpu)
  target_include_directories(${bench} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${bench} PRIVATE tremlor_core Qt6::DBus X11::X11)
endforeach()
