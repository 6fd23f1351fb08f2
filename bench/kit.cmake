# The kit: time to paint a 320-point-wide panel's worth of controls.
tremlor_add_bench(bench_kit_paint kit/KitPaintBench.cpp)
target_link_libraries(bench_kit_paint PRIVATE kestu_design Qt6::Widgets)
kestu_bundle_next_to(bench_kit_paint)
