# The panel: building and first showing it, and what a running session costs while it shows.
tremlor_add_bench(bench_panel views/PanelBench.cpp)
target_link_libraries(bench_panel PRIVATE tremlor_views Qt6::Widgets)
kestu_bundle_next_to(bench_panel)
