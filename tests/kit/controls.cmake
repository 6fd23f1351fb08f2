target_sources(kestu_design_tests PRIVATE kit/KitSmokeTest.cpp)
