# Applications: the schedule evaluation and the desktop-entry scan.
tremlor_add_bench(bench_schedule apps/ScheduleBench.cpp)
target_link_libraries(bench_schedule PRIVATE tremlor_core)
tremlor_add_bench(bench_app_scan apps/AppScanBench.cpp)
target_link_libraries(bench_app_scan PRIVATE tremlor_core)
